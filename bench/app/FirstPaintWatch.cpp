#include "FirstPaintWatch.h"

#include <xcb/damage.h>
#include <xcb/xcb.h>

#include <cerrno>
#include <cstdlib>
#include <memory>
#include <poll.h>
#include <stdexcept>

namespace {

struct FreeReply
{
    void operator()(void *reply) const { std::free(reply); }
};
template <typename T> using Reply = std::unique_ptr<T, FreeReply>;

} // namespace

FirstPaintWatch::FirstPaintWatch()
{
    m_connection = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(m_connection)) {
        xcb_disconnect(m_connection);
        throw std::runtime_error("no X display to watch: start it under xvfb-run");
    }
    const xcb_query_extension_reply_t *damage =
        xcb_get_extension_data(m_connection, &xcb_damage_id);
    if (!damage || !damage->present) {
        xcb_disconnect(m_connection);
        throw std::runtime_error("the X display has no DAMAGE extension");
    }
    m_damageEvent = damage->first_event + XCB_DAMAGE_NOTIFY;
    // The extension answers nothing until its version has been asked.
    Reply<xcb_damage_query_version_reply_t> version(xcb_damage_query_version_reply(
        m_connection, xcb_damage_query_version(m_connection, 1, 1), nullptr));

    m_root = xcb_setup_roots_iterator(xcb_get_setup(m_connection)).data->root;
    const std::uint32_t events = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_change_window_attributes(m_connection, m_root, XCB_CW_EVENT_MASK, &events);
    m_damage = xcb_generate_id(m_connection);
    xcb_damage_create(m_connection, m_damage, m_root, XCB_DAMAGE_REPORT_LEVEL_RAW_RECTANGLES);
    reset();
}

FirstPaintWatch::~FirstPaintWatch()
{
    xcb_damage_destroy(m_connection, m_damage);
    xcb_disconnect(m_connection);
}

void FirstPaintWatch::reset()
{
    // A round trip makes sure that every event of the past is in the queue.
    Reply<xcb_get_input_focus_reply_t> sync(
        xcb_get_input_focus_reply(m_connection, xcb_get_input_focus(m_connection), nullptr));
    while (xcb_generic_event_t *event = xcb_poll_for_event(m_connection))
        std::free(event);
}

bool FirstPaintWatch::waitForEvent(Clock::time_point deadline)
{
    for (;;) {
        const auto left =
            std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now()).count();
        if (left <= 0)
            return false;
        pollfd display{xcb_get_file_descriptor(m_connection), POLLIN, 0};
        const int ready = poll(&display, 1, int(left));
        if (ready > 0)
            return true;
        if (ready < 0 && errno != EINTR)
            throw std::runtime_error("waiting for the X display failed");
    }
}

FirstPaintWatch::Seen FirstPaintWatch::watch(Clock::time_point deadline, Clock::duration quiet)
{
    Seen seen;
    for (;;) {
        while (xcb_generic_event_t *event = xcb_poll_for_event(m_connection)) {
            const Clock::time_point now = Clock::now();
            const std::uint8_t type = event->response_type & 0x7F;
            if (type == XCB_MAP_NOTIFY && !seen.mapped) {
                const auto *map = reinterpret_cast<xcb_map_notify_event_t *>(event);
                // Pop-ups and tool tips bypass the window manager; the
                // program's window does not.
                if (!map->override_redirect)
                    seen.mapped = now;
            } else if (type == m_damageEvent && seen.mapped) {
                if (!seen.painted)
                    seen.painted = now;
                seen.lastPaint = now;
            }
            std::free(event);
        }
        if (xcb_connection_has_error(m_connection))
            throw std::runtime_error("the X display went away");
        const Clock::time_point until =
            seen.lastPaint ? std::min(deadline, *seen.lastPaint + quiet) : deadline;
        if (!waitForEvent(until))
            return seen;
    }
}
