#pragma once
// Text between the engine's UTF-16 strings and Qt's QString, which is UTF-16 too. Both
// ways copy the code units exactly: QString::fromUtf16 would drop a leading U+FEFF as a
// byte order mark, so the text goes in through QString's QChar constructor instead.
#include <QChar>
#include <QString>
#include <string>
#include <string_view>

inline QString ToQString(std::u16string_view text) {
  if (text.empty()) return QString();
  return QString(reinterpret_cast<const QChar*>(text.data()), static_cast<qsizetype>(text.size()));
}

inline std::u16string FromQString(const QString& text) { return text.toStdU16String(); }
