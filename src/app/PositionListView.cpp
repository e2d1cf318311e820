// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/PositionListView.h"

namespace kv {

PositionListView::PositionListView(PositionList& list, const SignalRows& rows, PortfolioList which)
    : list(list), rows(rows), which(which)
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
        box.append(positionRowText(rows, list.at(i), which));
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
