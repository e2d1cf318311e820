// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What a run did with its capital, said in sentences where it matters: the 判定不可 positions
// that tied up buying power, and the days a margin call was possible. The results window and the
// report show the same sentences.

#include "sim/RunResults.h"

#include <string>
#include <vector>

namespace kv {

// The sentences (code page 932) for the figures `f`; none when the 判定不可 positions took no share
// of the buying power that shows (under 0.05 %) and the margin check never warned.
std::vector<std::string> capitalUseSentences(const ResultFigures& f);

}  // namespace kv
