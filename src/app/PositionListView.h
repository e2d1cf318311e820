// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A portfolio list of the run as the main window shows it: a list box whose rows follow the
// engine's list, change for change, as list rows formatted from its positions. The list box's
// selection and its view's notices are those of the same changes made to the rows directly.

#include "sim/PortfolioLists.h"
#include "sim/PositionList.h"
#include "toolkit/ListBox.h"

namespace kv {

class SignalRows;

class PositionListView : public PositionListObserver {
public:
    PositionListView(PositionList& list, const SignalRows& rows, PortfolioList which);
    ~PositionListView() override;
    PositionListView(const PositionListView&) = delete;
    PositionListView& operator=(const PositionListView&) = delete;

    void positionsAppended(int first, int count) override;
    void positionsRemoved(std::span<const int> ascending) override;
    void positionsCleared() override;

    ListBox box;

private:
    PositionList& list;
    const SignalRows& rows;
    PortfolioList which;
};

}  // namespace kv
