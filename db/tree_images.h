// The tree's image list, positions 1 to 11: database, table (and the tables
// branch), table selected, field, query (and the queries branch), query
// selected, primary key field, indexed field, linked table, linked table
// selected, relationship (and the relationships branch). Drawn here so that
// the tree needs no image files.
#pragma once

#include <QIcon>
#include <QPixmap>

namespace db {

class TreeImages {
  public:
    static constexpr int kDatabase = 1;
    static constexpr int kTable = 2;
    static constexpr int kTableSelected = 3;
    static constexpr int kField = 4;
    static constexpr int kQuery = 5;
    static constexpr int kQuerySelected = 6;
    static constexpr int kPrimaryKeyField = 7;
    static constexpr int kIndexedField = 8;
    static constexpr int kLinkedTable = 9;
    static constexpr int kLinkedTableSelected = 10;
    static constexpr int kRelationship = 11;

    // The picture at list position `index` (1 to 11); a blank one otherwise.
    static QPixmap picture(int index);
    // An icon showing `image`, and `selectedImage` while the node is selected.
    static QIcon icon(int image, int selectedImage);
};

}  // namespace db
