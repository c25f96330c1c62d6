#pragma once

#include <QStackedWidget>
#include <functional>

namespace quorvel {

// A page control with hidden tabs: the pages fill the control and no key switches them.
// Selecting a page calls the page-changing step first, with the index about to become
// active, and does nothing when that page is active already.
class PageControl : public QStackedWidget {
    Q_OBJECT
public:
    using PageChanging = std::function<void(int newIndex, bool& allowChange)>;

    explicit PageControl(QWidget* parent = nullptr);

    void setPageChanging(PageChanging handler) { pageChanging_ = std::move(handler); }

    // The index of the active page, or -1 when there is none.
    int activePageIndex() const { return count() ? currentIndex() : -1; }
    void setActivePageIndex(int index);

private:
    PageChanging pageChanging_;
};

} // namespace quorvel
