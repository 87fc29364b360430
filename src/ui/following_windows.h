#pragma once

#include <QWidget>
#include <memory>
#include <vector>

// A window that follows the records of the main window's pages.
class PageFollower {
public:
    // A page's record changed: the window takes in a new result, or says that one is gone.
    virtual void follow() = 0;

protected:
    ~PageFollower() = default;
};

// The windows of their own that follow the main window's pages, one of each kind, each made when
// first asked for and gone before the pages whose records it reads.
class FollowingWindows {
public:
    // The window of kind `Window`, made from `arguments` the first time it is asked for.
    template <class Window, class... Arguments>
    Window &open(Arguments &&...arguments) {
        if (Window *window = made<Window>())
            return *window;
        auto window = std::make_unique<Window>(std::forward<Arguments>(arguments)...);
        Window &opened = *window;
        windows.push_back({std::move(window), &opened});
        return opened;
    }

    // The window of kind `Window` if it has been made; else null.
    template <class Window>
    Window *made() const {
        for (const Made &window : windows)
            if (auto *found = dynamic_cast<Window *>(window.widget.get()))
                return found;
        return nullptr;
    }

    // Every window made follows a change of the pages' records.
    void follow() const {
        for (const Made &window : windows)
            window.follower->follow();
    }

private:
    struct Made {
        std::unique_ptr<QWidget> widget;
        PageFollower *follower;
    };
    std::vector<Made> windows;
};
