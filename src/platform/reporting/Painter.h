#pragma once

#include "platform/reporting/DisplayList.h"

class QPainter;
class QPagedPaintDevice;

namespace quorvel::reporting {

// Replays one page of the display list on any painter; millimetres become device units
// of the painter's device, taking its paper corner as the origin.
void paintPage(const Page& page, QPainter& painter);

// Writes the pages to a PDF file (nothing is generated again). Throws Error on failure.
void writePdf(const PageStore& store, const QString& fileName);

} // namespace quorvel::reporting
