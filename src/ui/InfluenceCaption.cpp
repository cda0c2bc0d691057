#include "ui/InfluenceCaption.h"

#include "ui/HexColor.h"

#include <QCoreApplication>
#include <QStringList>

#include <algorithm>

namespace velo {

namespace {

// The texts' context, in a form lupdate reads.
struct InfluenceCaption {
    Q_DECLARE_TR_FUNCTIONS(InfluenceCaption)
};

} // namespace

QString influenceCaption(const VeloDocument& document) {
    const std::vector<int>& selected = document.selectedRows();
    if (!selected.empty()) {
        QStringList rows;
        for (int row : selected) {
            rows << QString::number(row + 1);
        }
        return (selected.size() == 1 ? InfluenceCaption::tr("Share of row %1 (white: all)")
                                     : InfluenceCaption::tr("Share of rows %1 (white: all)"))
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
    return InfluenceCaption::tr("Owner of each pixel:") + " " + legend.join(" ");
}

} // namespace velo
