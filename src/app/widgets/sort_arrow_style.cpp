#include "app/widgets/sort_arrow_style.h"

#include <QApplication>
#include <QHeaderView>
#include <QProxyStyle>
#include <QStyleFactory>
#include <QStyleOptionHeader>

namespace td {

namespace {

// The application's style, but for the header's sort arrow, which it draws
// from the header's own order rather than from the flag it is handed.
class SortArrowStyle : public QProxyStyle {
public:
    SortArrowStyle() : QProxyStyle(QStyleFactory::create(QApplication::style()->name())) {}

    void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                       const QWidget* widget) const override
    {
        const auto* header = qobject_cast<const QHeaderView*>(widget);
        const auto* section = qstyleoption_cast<const QStyleOptionHeader*>(option);
        if (element != PE_IndicatorHeaderArrow || !header || !section ||
            section->sortIndicator == QStyleOptionHeader::None) {
            QProxyStyle::drawPrimitive(element, option, painter, widget);
            return;
        }
        const bool ascending = header->sortIndicatorOrder() == Qt::AscendingOrder;
        QProxyStyle::drawPrimitive(ascending ? PE_IndicatorArrowUp : PE_IndicatorArrowDown, option, painter,
                                   widget);
    }
};

}  // namespace

void drawSortArrowAsRowsRun(QHeaderView& header)
{
    auto* style = new SortArrowStyle;
    style->setParent(&header);
    header.setStyle(style);
}

}  // namespace td
