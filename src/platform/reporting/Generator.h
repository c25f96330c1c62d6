#pragma once

#include "platform/reporting/DisplayList.h"
#include "platform/reporting/Report.h"

#include <functional>

class QPaintDevice;

namespace quorvel::reporting {

// What a generation may be told or asked while it runs.
struct GenerationHooks {
    std::function<bool()> cancelled;           // looked at before the title band and each detail row
    std::function<void()> processEvents;       // called before the title band and each detail row
    std::function<void(int page)> pageFinished; // a page is complete in the store
};

// Lays the report out into the store as a display list. Text is measured with the font
// metrics of `device`, the device it will be painted on, so that wraps agree between
// preview, paper and PDF. An exception from the before-print step or a print step ends
// the generation and passes out; the page in progress keeps what was drawn before it.
void generate(Report& report, PageStore& store, const QPaintDevice& device, const GenerationHooks& hooks = {});

// A device whose metrics stand for paper (1200 dots per inch) when the real one is not
// at hand, as for the preview.
const QPaintDevice& paperMetrics();

} // namespace quorvel::reporting
