#include "sheet/block_mime.h"

#include <QMimeData>

namespace sheet {

QMimeData* blockMimeData(const QString& rowsText) {
    auto* mime = new QMimeData;
    mime->setText(rowsText);
    mime->setData(QString::fromLatin1(kTabSeparatedMime), rowsText.toUtf8());
    return mime;
}

}  // namespace sheet
