#pragma once

#include <chrono>
#include <cstdint>
#include <optional>

struct xcb_connection_t;

// Watches an X display from outside for the first picture that a program puts
// on screen. It tracks damage to the whole screen, which takes in every window
// from the moment it is created, so no paint can slip past before the watch
// has seen the window. Qt creates its windows without a background, so the
// server draws nothing of its own when a window is mapped: the first damage
// after the first top-level window is mapped is the program's first paint.
// Meant for a display of its own (Xvfb), where nothing else draws.
class FirstPaintWatch
{
public:
    using Clock = std::chrono::steady_clock;

    struct Seen
    {
        std::optional<Clock::time_point> mapped;    // first top-level window shown
        std::optional<Clock::time_point> painted;   // first damage after that
        std::optional<Clock::time_point> lastPaint; // last damage before the display went quiet
    };

    // Connects to $DISPLAY; throws std::runtime_error without a display or
    // without its DAMAGE extension.
    FirstPaintWatch();
    ~FirstPaintWatch();
    FirstPaintWatch(const FirstPaintWatch &) = delete;
    FirstPaintWatch &operator=(const FirstPaintWatch &) = delete;

    // Forgets every event so far; call it just before starting the program.
    void reset();

    // Waits until the first paint, then until the display has been quiet for
    // `quiet`, or until the deadline. Throws std::runtime_error when the
    // connection to the display breaks.
    Seen watch(Clock::time_point deadline, Clock::duration quiet);

private:
    // Waits for the next event up to the deadline; false on timeout.
    bool waitForEvent(Clock::time_point deadline);

    xcb_connection_t *m_connection = nullptr;
    std::uint8_t m_damageEvent = 0;
    std::uint32_t m_root = 0;
    std::uint32_t m_damage = 0;
};
