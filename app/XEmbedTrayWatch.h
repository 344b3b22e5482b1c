// Hears an XEmbed tray appear instead of looking for one again and again: a
// tray that takes the _NET_SYSTEM_TRAY_S<n> selection announces itself with a
// MANAGER message to the root window, which this asks the X server to pass
// on. Nothing happens outside X11.
#pragma once

#include <QAbstractNativeEventFilter>
#include <cstdint>
#include <functional>

class XEmbedTrayWatch : public QAbstractNativeEventFilter {
public:
    explicit XEmbedTrayWatch(std::function<void()> onTray);
    ~XEmbedTrayWatch() override;

    XEmbedTrayWatch(const XEmbedTrayWatch&) = delete;
    XEmbedTrayWatch& operator=(const XEmbedTrayWatch&) = delete;

    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;

private:
    std::function<void()> m_onTray;
    uint32_t m_manager = 0;   // the MANAGER atom; 0 without X11
    uint32_t m_selection = 0; // _NET_SYSTEM_TRAY_S<screen>
};
