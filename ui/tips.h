// The tip-of-the-day texts and the walk through them: a first tip drawn at
// random, then Next and Previous that wrap around at either end. The walk
// starts from position 0, so the first Next always shows tip 1 and the
// first Previous the last tip, whatever was drawn.
#pragma once

#include <QString>
#include <QStringList>

namespace ui {

class Tips {
  public:
    static constexpr int kCount = 21;

    // Tip 11 names the maker's web site at webAddress.
    explicit Tips(const QString& webAddress);

    // Tip i, 1 to kCount; empty outside that range.
    QString text(int i) const;
    int count() const { return kCount; }
    int current() const { return current_; }

    // The index of the first tip for a random number in [0, 1): the whole
    // part of kCount times it, plus one. Values outside the range are
    // brought into it, so the result is always a valid tip.
    static int firstIndex(double random);
    // The text shown when the window opens; the position stays 0.
    QString first(double random) const { return text(firstIndex(random)); }
    QString next();
    QString previous();

  private:
    QStringList texts_;
    int current_ = 0;
};

}  // namespace ui
