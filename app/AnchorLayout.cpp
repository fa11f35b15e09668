#include "AnchorLayout.h"

#include <QWidget>

namespace {

// One axis: the new start and length of a side pair for a parent grown by delta.
std::pair<int, int> Stretch(int start, int length, int delta, bool nearAnchored, bool farAnchored)
{
    if (farAnchored && nearAnchored)
        return {start, std::max(0, length + delta)};
    if (farAnchored)
        return {start + delta, length};
    return {start, length};
}

} // namespace

TAnchorLayout::TAnchorLayout(QWidget* parent, QSize designSize)
    : QLayout(parent), designSize_(designSize)
{
    setContentsMargins(0, 0, 0, 0);
}

TAnchorLayout::~TAnchorLayout()
{
    for (auto& placement : placements_)
        delete placement.item;
}

void TAnchorLayout::GrowWith(QWidget* widget, QSize designSize)
{
    grownWidget_ = widget;
    grownWidgetDesignSize_ = designSize;
    invalidate();
}

void TAnchorLayout::Place(QWidget* widget, QRect rect, TAnchors anchors)
{
    addChildWidget(widget);
    placements_.push_back({new QWidgetItem(widget), rect, anchors});
    invalidate();
}

void TAnchorLayout::addItem(QLayoutItem* item)
{
    placements_.push_back({item, QRect(QPoint(0, 0), item->sizeHint()), kAnchorLeftTop});
}

int TAnchorLayout::count() const
{
    return static_cast<int>(placements_.size());
}

QLayoutItem* TAnchorLayout::itemAt(int index) const
{
    return index >= 0 && index < count() ? placements_[static_cast<size_t>(index)].item : nullptr;
}

QLayoutItem* TAnchorLayout::takeAt(int index)
{
    if (index < 0 || index >= count())
        return nullptr;
    QLayoutItem* item = placements_[static_cast<size_t>(index)].item;
    placements_.erase(placements_.begin() + index);
    return item;
}

QSize TAnchorLayout::sizeHint() const
{
    return designSize_;
}

QSize TAnchorLayout::minimumSize() const
{
    return {0, 0};
}

void TAnchorLayout::setGeometry(const QRect& rect)
{
    QLayout::setGeometry(rect);
    const QSize growth = grownWidget_ ? grownWidget_->size() - grownWidgetDesignSize_ : rect.size() - designSize_;
    const int dx = growth.width();
    const int dy = growth.height();
    for (const auto& p : placements_) {
        const auto [x, width] = Stretch(p.rect.x(), p.rect.width(), dx, p.anchors.testFlag(TAnchor::Left),
                                        p.anchors.testFlag(TAnchor::Right));
        const auto [y, height] = Stretch(p.rect.y(), p.rect.height(), dy, p.anchors.testFlag(TAnchor::Top),
                                         p.anchors.testFlag(TAnchor::Bottom));
        p.item->setGeometry(QRect(rect.x() + x, rect.y() + y, width, height));
    }
}
