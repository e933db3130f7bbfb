#pragma once

#include <functional>
#include <utility>

// A field of the application state that announces every assignment, including an assignment
// of an equal value and every in-place change made through modify(). Views read it with get()
// and redraw when the owner announces a change.
template <typename T> class Published {
public:
    Published(std::function<void()> announce, T initial)
        : m_announce(std::move(announce)), m_value(std::move(initial))
    {
    }
    Published(const Published &) = delete;
    Published &operator=(const Published &) = delete;

    const T &get() const { return m_value; }
    const T &operator()() const { return m_value; }

    Published &operator=(T value)
    {
        m_value = std::move(value);
        m_announce();
        return *this;
    }

    // Changes the value in place; counts as one assignment.
    template <typename Change> void modify(Change &&change)
    {
        std::forward<Change>(change)(m_value);
        m_announce();
    }

private:
    std::function<void()> m_announce;
    T m_value;
};
