#include "store/Password.h"

#include <sodium.h>

#include <stdexcept>

namespace {
void ensureSodium() {
  static const bool ready = sodium_init() >= 0;
  if (!ready) throw std::runtime_error("libsodium could not be initialised");
}
}  // namespace

namespace Password {

QString hash(const QString& plain) {
  ensureSodium();
  QByteArray p = plain.toUtf8();
  char out[crypto_pwhash_STRBYTES];
  if (crypto_pwhash_str(out, p.constData(), static_cast<unsigned long long>(p.size()),
                        crypto_pwhash_OPSLIMIT_INTERACTIVE, crypto_pwhash_MEMLIMIT_INTERACTIVE) != 0)
    throw std::runtime_error("out of memory while hashing a password");
  return QString::fromLatin1(out);
}

bool verify(const QString& plain, const QString& stored) {
  ensureSodium();
  QByteArray s = stored.toLatin1();
  if (s.isEmpty() || s.size() >= crypto_pwhash_STRBYTES) return false;
  QByteArray p = plain.toUtf8();
  return crypto_pwhash_str_verify(s.constData(), p.constData(), static_cast<unsigned long long>(p.size())) == 0;
}

}  // namespace Password
