#pragma once
// CListHeader: the projector list's column header. It draws the sort marker
// (the model's header decoration) at the right of the key column's caption,
// where the operator looks for it, instead of before the text; everything
// else is the standard header. Owned by the list control.
#include <QHeaderView>

class CListHeader : public QHeaderView {
    Q_OBJECT
public:
    explicit CListHeader(QWidget* parent = nullptr);

    // The narrowest section that shows caption whole beside the sort marker.
    int SectionWidthFor(const QString& caption) const;

protected:
    void paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const override;
};
