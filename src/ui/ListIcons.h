#pragma once
// CListIcons: the projector list's pictures, painted here at 100 % and 200 %
// so they stay sharp on scaled screens: the six row icons of a record's
// display state (on, standby, error, talking, connection error, unknown;
// each its own shape as well as its own colour, so they tell apart without
// colour) and the header's two sort markers. Owned by the list model; needs
// a running QGuiApplication.
#include <QIcon>
#include <QString>

constexpr int ROW_ICON_SIZE = 18;
constexpr int SORT_MARKER_SIZE = 12;
constexpr int ROW_ICON_COUNT = 6;

class CListIcons {
public:
    CListIcons();

    // The icon of a record's display state; an unknown state shows as unknown.
    const QIcon& Row(int displayState) const;
    const QIcon& SortMarker(bool descending) const;
    // The display state in words, for assistive technology and tooltips.
    static QString StateText(int displayState);

private:
    QIcon m_rows[ROW_ICON_COUNT];
    QIcon m_markers[2];
};
