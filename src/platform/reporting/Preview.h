#pragma once

#include "platform/reporting/Report.h"

namespace quorvel::reporting {

// Shows the report in a preview window and returns once that window has been closed or
// the application is ending. The window opens before the report is generated and shows
// each page as it is finished. An exception from the before-print step or a print step
// closes the window and passes out. The window never outlives the call, so the report
// may be freed as soon as it returns. Another preview may run inside this one's wait.
void preview(Report& report);

} // namespace quorvel::reporting
