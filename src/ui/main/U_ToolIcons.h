#pragma once
#include <QIcon>
#include <QString>

// The tool bar's pictures by kind ("New", "Open", "Save", "Copy", "Paste",
// "Print", "Upload", "Download", "Help"), drawn so that the program needs no
// image files.
QIcon ToolIcon(const QString& kind);
