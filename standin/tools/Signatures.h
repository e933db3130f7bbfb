#pragma once

#include <QString>

// Who signed an application bundle on the stand-in Mac. As on a Mac the signature lives in the
// bundle, in Contents/_CodeSignature/CodeResources, so it moves and copies with it. Here that
// file is one line of JSON, {"standinSigner": WORD}, where WORD is
//   "apple"    signed by Apple, seal intact
//   "expired"  signed by Apple with a certificate that has expired since
//   "tampered" signed, but a file has changed since
//   "other"    signed, sealed, by another developer
//   "expired-other"  signed by another developer with a certificate that has expired since
// A bundle without the file is not signed at all.
namespace Signatures {

inline constexpr char apple[] = "apple";
inline constexpr char expired[] = "expired";
inline constexpr char tampered[] = "tampered";
inline constexpr char other[] = "other";
inline constexpr char expiredOther[] = "expired-other";
inline constexpr char notSigned[] = "unsigned";

// Signs the bundle at `appPath` as `signer` (one of the words above); "unsigned" removes the
// signature.
bool sign(const QString &appPath, const QString &signer, QString *error);
// The signer word of the bundle at `appPath`: "unsigned" when it has no signature; an unreadable
// signature reads as "tampered".
QString signerOf(const QString &appPath);

} // namespace Signatures
