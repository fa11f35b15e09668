#pragma once
// Places widgets at fixed positions designed for one parent size, and keeps
// the distance of each anchored side to the parent's matching edge when the
// parent has another size: a widget anchored left and right stretches, one
// anchored right only moves.

#include <QFlags>
#include <QLayout>
#include <QPointer>
#include <QRect>
#include <vector>

enum class TAnchor { Left = 1, Top = 2, Right = 4, Bottom = 8 };
Q_DECLARE_FLAGS(TAnchors, TAnchor)
Q_DECLARE_OPERATORS_FOR_FLAGS(TAnchors)

inline constexpr TAnchors kAnchorLeftTop = TAnchors(TAnchor::Left) | TAnchor::Top;
inline constexpr TAnchors kAnchorAll = kAnchorLeftTop | TAnchor::Right | TAnchor::Bottom;

class TAnchorLayout : public QLayout {
public:
    // designSize: the parent's client size the positions were designed for.
    TAnchorLayout(QWidget* parent, QSize designSize);
    ~TAnchorLayout() override;

    // Stretches by as much as widget has grown from its designSize, rather
    // than by the parent's own growth: for a parent whose size at the
    // designed window size depends on the style (a page of a page control),
    // so that the positions hold exactly at the designed window size.
    void GrowWith(QWidget* widget, QSize designSize);

    // Places the widget (made a child of the parent) at rect in design coordinates.
    void Place(QWidget* widget, QRect rect, TAnchors anchors = kAnchorLeftTop);

    void addItem(QLayoutItem* item) override;
    int count() const override;
    QLayoutItem* itemAt(int index) const override;
    QLayoutItem* takeAt(int index) override;
    QSize sizeHint() const override;
    QSize minimumSize() const override;
    void setGeometry(const QRect& rect) override;

private:
    struct TPlacement {
        QLayoutItem* item;
        QRect rect;
        TAnchors anchors;
    };
    QSize designSize_;
    QPointer<QWidget> grownWidget_;
    QSize grownWidgetDesignSize_;
    std::vector<TPlacement> placements_;
};
