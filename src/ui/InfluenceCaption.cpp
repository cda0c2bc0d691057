#include "ui/InfluenceCaption.h"

#include "ui/HexColor.h"

#include <QCoreApplication>
#include <QStringList>

#include <algorithm>

namespace velo {

namespace {

QString tr(const char* text) {
    return QCoreApplication::translate("InfluenceCaption", text);
}

} // namespace

QString influenceCaption(const VeloDocument& document) {
    const std::vector<int>& selected = document.selectedRows();
    if (!selected.empty()) {
        QStringList rows;
        for (int row : selected) {
            rows << QString::number(row + 1);
        }
        return (selected.size() == 1 ? tr("Share of row %1 (white: all)")
                                     : tr("Share of rows %1 (white: all)"))
            .arg(rows.join(", "));
    }
    QStringList legend;
    const auto& all = document.colorAdjustments();
    const auto& active = document.activeColorAdjustments();
    for (std::size_t row = 0; row < all.size(); ++row) {
        if (std::ranges::find(active, all[row]) == active.end()) {
            continue;
        }
        std::string hex = hexColorText(all[row]->targetColor());
        legend << QStringLiteral("<span style=\"color:%1\">&#9632;</span>&nbsp;%2")
                      .arg(QString::fromStdString(hex.substr(0, 7)))
                      .arg(row + 1);
    }
    return tr("Owner of each pixel:") + " " + legend.join(" ");
}

} // namespace velo
