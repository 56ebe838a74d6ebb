#pragma once
#include <QIcon>
#include <QPixmap>

// The main window's own pictures, painted rather than shipped as files so the
// program carries no artwork beside it.
namespace MainFrmArt {
// The picture of a toolbar button, by the button's Tag; 0 takes a name
// ("relogin", "exit") since both of those buttons are ungated.
QIcon toolIcon(int tag, const QString& name = QString());
// The program's own icon, shown by the main window and its children.
QIcon appIcon();
// The built-in background shown when config.ini names no picture.
QPixmap background();
}  // namespace MainFrmArt
