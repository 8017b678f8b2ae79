#include "app/NativeCaption.h"
#include "app/ApplicationSetup.h"

#include <QDialog>
#include <QGuiApplication>
#include <QMessageBox>
#include <gtest/gtest.h>

#ifdef KESTRANO_HAVE_XCB
#include <xcb/xcb.h>

namespace {

// The caption as the X11 window system holds it for a window manager.
QString captionOnScreen(const QWidget &window)
{
    auto *x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    xcb_connection_t *connection = x11->connection();
    const char name[] = "_NET_WM_NAME";
    xcb_intern_atom_reply_t *atom = xcb_intern_atom_reply(
        connection, xcb_intern_atom(connection, 0, sizeof name - 1, name), nullptr);
    xcb_get_property_reply_t *property =
        xcb_get_property_reply(connection,
                               xcb_get_property(connection, 0, xcb_window_t(window.winId()),
                                                atom->atom, XCB_GET_PROPERTY_TYPE_ANY, 0, 1024),
                               nullptr);
    const QString caption =
        QString::fromUtf8(static_cast<const char *>(xcb_get_property_value(property)),
                          xcb_get_property_value_length(property));
    free(property);
    free(atom);
    return caption;
}

// ctest runs this under xvfb with the xcb platform; in the offscreen runs
// there is no window system to ask.
TEST(NativeCaption, TheWindowSystemShowsTheCaptionsExactly)
{
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        GTEST_SKIP() << "needs an X11 display";
    setUpApplication(*QCoreApplication::instance());

    QDialog settings;
    settings.setWindowTitle(QStringLiteral("设置"));
    settings.show();
    EXPECT_EQ(captionOnScreen(settings), QStringLiteral("设置"));

    QMessageBox question;
    question.setWindowTitle(QString());
    EXPECT_EQ(captionOnScreen(question), QCoreApplication::applicationName()); // Qt's own fallback
    clearNativeCaption(question);
    question.show();
    EXPECT_EQ(captionOnScreen(question), QString());
}

} // namespace
#endif
