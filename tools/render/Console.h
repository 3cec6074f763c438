#pragma once

#include <ostream>

namespace Render
{
// Where a run prints: results and summaries to `out`, errors and the progress bar to `err`.
struct Console
{
    std::ostream& out;
    std::ostream& err;
    bool showProgress = false;   // draw a progress bar on `err` (only when it is a terminal)
    bool quiet = false;          // no summaries, only errors
};
}
