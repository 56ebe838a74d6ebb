#pragma once
#include <QString>

// Passwords are kept only as salted hashes (libsodium's pwhash string form).
// The typed text must match exactly: letter case and blanks count.
namespace Password {
QString hash(const QString& plain);
bool verify(const QString& plain, const QString& stored);
}  // namespace Password
