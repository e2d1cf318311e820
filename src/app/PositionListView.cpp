#include "app/PositionListView.h"

namespace kv {

PositionListView::PositionListView(PositionList& list, const SignalRows& signals, PortfolioList which)
    : list(list), signals(signals), which(which)
{
    list.setObserver(this);
}

PositionListView::~PositionListView()
{
    list.setObserver(nullptr);
}

void PositionListView::positionsAppended(int first, int count)
{
    ListBox::AppendBatch batch(box);
    for (int i = first; i < first + count; ++i)
        box.append(positionRowText(signals, list.at(i), which));
}

void PositionListView::positionsRemoved(std::span<const int> ascending)
{
    box.removeRows(ascending);
}

void PositionListView::positionsCleared()
{
    box.clear();
}

}  // namespace kv
