#pragma once
#include <QString>

// A one-line input box; returns the typed text, or empty text when cancelled.
QString Input(const QString& caption, const QString& prompt);
