#include "platform/app/PageControl.h"

namespace quorvel {

PageControl::PageControl(QWidget* parent) : QStackedWidget(parent) {}

void PageControl::setActivePageIndex(int index)
{
    if (index < 0 || index >= count() || index == currentIndex())
        return;
    bool allow = true;
    if (pageChanging_)
        pageChanging_(index, allow);
    if (allow)
        setCurrentIndex(index);
}

} // namespace quorvel
