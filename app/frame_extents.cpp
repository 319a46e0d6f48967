// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/frame_extents.h"

#include <QGuiApplication>
#include <QWidget>
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <string_view>
#include <thread>

#ifdef VELTRANE_HAVE_XCB
#include <xcb/xcb.h>
#endif

namespace veltrane {

#ifndef VELTRANE_HAVE_XCB
std::optional<QMargins> RequestFrameExtents(QWidget*) {
    return std::nullopt;
}

void AskNotToMove(QWidget*) {}
#else
namespace {

xcb_atom_t Atom(xcb_connection_t* c, std::string_view name) {
    const auto cookie = xcb_intern_atom(c, 0, static_cast<std::uint16_t>(name.size()), name.data());
    xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(c, cookie, nullptr);
    const xcb_atom_t atom = reply != nullptr ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
    std::free(reply);
    return atom;
}

// Whether the window manager lists the request among what it supports.
bool Supported(xcb_connection_t* c, xcb_window_t root, xcb_atom_t request) {
    const xcb_atom_t supported = Atom(c, "_NET_SUPPORTED");
    const auto cookie = xcb_get_property(c, 0, root, supported, XCB_ATOM_ATOM, 0, 4096);
    xcb_get_property_reply_t* reply = xcb_get_property_reply(c, cookie, nullptr);
    bool found = false;
    if (reply != nullptr && reply->format == 32) {
        const auto* atoms = static_cast<const xcb_atom_t*>(xcb_get_property_value(reply));
        const int count = xcb_get_property_value_length(reply) / 4;
        for (int i = 0; i < count && !found; ++i) {
            found = atoms[i] == request;
        }
    }
    std::free(reply);
    return found;
}

std::optional<QMargins> ReadExtents(xcb_connection_t* c, xcb_window_t window, xcb_atom_t extents) {
    const auto cookie = xcb_get_property(c, 0, window, extents, XCB_ATOM_CARDINAL, 0, 4);
    xcb_get_property_reply_t* reply = xcb_get_property_reply(c, cookie, nullptr);
    std::optional<QMargins> margins;
    if (reply != nullptr && reply->format == 32 && xcb_get_property_value_length(reply) == 16) {
        const auto* v = static_cast<const std::uint32_t*>(xcb_get_property_value(reply));
        margins = QMargins(static_cast<int>(v[0]), static_cast<int>(v[2]), static_cast<int>(v[1]),
                           static_cast<int>(v[3]));
    }
    std::free(reply);
    return margins;
}

}  // namespace

std::optional<QMargins> RequestFrameExtents(QWidget* window) {
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    if (x11 == nullptr || x11->connection() == nullptr) {
        return std::nullopt;
    }
    xcb_connection_t* c = x11->connection();
    const auto native = static_cast<xcb_window_t>(window->winId());
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
    const xcb_atom_t request = Atom(c, "_NET_REQUEST_FRAME_EXTENTS");
    const xcb_atom_t extents = Atom(c, "_NET_FRAME_EXTENTS");
    if (request == xcb_atom_t{XCB_ATOM_NONE} || !Supported(c, root, request)) {
        return std::nullopt;
    }
    xcb_client_message_event_t event{};
    event.response_type = XCB_CLIENT_MESSAGE;
    event.format = 32;
    event.window = native;
    event.type = request;
    xcb_send_event(c, 0, root,
                   XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                   reinterpret_cast<const char*>(&event));
    xcb_flush(c);
    // The manager answers by setting the property; a round trip or a few.
    for (int attempt = 0; attempt < 40; ++attempt) {
        if (auto margins = ReadExtents(c, native, extents)) {
            return margins;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return std::nullopt;
}
void AskNotToMove(QWidget* window) {
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    if (x11 == nullptr || x11->connection() == nullptr) {
        return;
    }
    xcb_connection_t* c = x11->connection();
    const xcb_atom_t hints = Atom(c, "_MOTIF_WM_HINTS");
    // flags: functions and decorations given; functions: close only (no
    // move, no resize); decorations: none; input mode; status.
    constexpr std::uint32_t kFunctions = 1, kDecorations = 2, kFunctionClose = 0x20;
    const std::uint32_t value[5] = {kFunctions | kDecorations, kFunctionClose, 0, 0, 0};
    xcb_change_property(c, XCB_PROP_MODE_REPLACE, static_cast<xcb_window_t>(window->winId()), hints,
                        hints, 32, 5, value);
    xcb_flush(c);
}
#endif

}  // namespace veltrane
