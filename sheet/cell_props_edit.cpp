#include "sheet/cell_props_edit.h"

#include <algorithm>
#include <cmath>

namespace sheet {

namespace {
void setStyleBit(CellProps& p, uint8_t bit, bool on) {
    p.style = on ? (p.style | bit) : (p.style & ~bit);
}

}  // namespace

std::function<void(CellProps&)> cellPropsEdit(CellSetting setting, const QVariant& value) {
    const int number = value.toInt();
    const auto color = uint32_t(value.toLongLong()) & 0xFFFFFF;
    switch (setting) {
        case CellSetting::Alignment:
            return [number](CellProps& p) {
                p.alignment =
                    (number >= 0 && number <= 9) ? uint8_t(number) : CellProps::kNoAlignment;
            };
        case CellSetting::PictureAlignment:
            return
                [number](CellProps& p) { p.pictureAlignment = uint8_t(std::clamp(number, 0, 9)); };
        case CellSetting::Checked:
            return [number](CellProps& p) { p.checked = uint8_t(std::clamp(number, 0, 2)); };
        case CellSetting::BackColor:
            return [color](CellProps& p) { p.backColor = color; };
        case CellSetting::ForeColor:
            return [color](CellProps& p) { p.foreColor = color; };
        case CellSetting::BarColor:
            return [color](CellProps& p) { p.barColor = color; };
        case CellSetting::BarFillPercent: {
            const double percent = value.toDouble();
            return [percent](CellProps& p) { p.barPercent = std::isfinite(percent) ? percent : 0; };
        }
        case CellSetting::Bold:
        case CellSetting::Italic:
        case CellSetting::Underline: {
            const uint8_t bit = setting == CellSetting::Bold     ? CellProps::kBold
                                : setting == CellSetting::Italic ? CellProps::kItalic
                                                                 : CellProps::kUnderline;
            const bool on = value.toBool();
            return [bit, on](CellProps& p) { setStyleBit(p, bit, on); };
        }
        default:
            return {};
    }
}

}  // namespace sheet
