#include "display/ScreenProfile.h"

#include <QGuiApplication>
#include <cstdint>
#include <cstdlib>
#include <string_view>
#include <xcb/xcb.h>

namespace velo {

namespace {

// Freed as xcb asks: with free().
template <typename Reply> using XcbReply = std::unique_ptr<Reply, decltype(&std::free)>;

template <typename Reply> XcbReply<Reply> owned(Reply* reply) {
    return XcbReply<Reply>(reply, &std::free);
}

xcb_atom_t existingAtom(xcb_connection_t* connection, std::string_view name) {
    auto reply = owned(xcb_intern_atom_reply(
        connection,
        xcb_intern_atom(connection, 1, static_cast<std::uint16_t>(name.size()), name.data()),
        nullptr));
    return reply ? reply->atom : static_cast<xcb_atom_t>(XCB_ATOM_NONE);
}

std::shared_ptr<const IccProfile> rootProperty(xcb_connection_t* connection, xcb_atom_t atom) {
    xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(connection)).data;
    if (!screen) {
        return nullptr;
    }
    // The length counts 32-bit words: all of any profile.
    auto reply =
        owned(xcb_get_property_reply(connection,
                                     xcb_get_property(connection, 0, screen->root, atom,
                                                      XCB_GET_PROPERTY_TYPE_ANY, 0, UINT32_MAX / 4),
                                     nullptr));
    if (!reply || reply->format != 8) {
        return nullptr;
    }
    auto* bytes = static_cast<const std::uint8_t*>(xcb_get_property_value(reply.get()));
    int length = xcb_get_property_value_length(reply.get());
    if (length <= 0) {
        return nullptr;
    }
    return std::make_shared<const IccProfile>(bytes, bytes + length);
}

} // namespace

std::shared_ptr<const IccProfile> screenIccProfile() {
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    if (!x11 || !x11->connection()) {
        return nullptr;
    }
    xcb_atom_t atom = existingAtom(x11->connection(), "_ICC_PROFILE");
    return atom == XCB_ATOM_NONE ? nullptr : rootProperty(x11->connection(), atom);
}

} // namespace velo
