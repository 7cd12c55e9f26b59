/*
** Windows-1252 text of the system's buffers to and from Qt strings. Characters with no
** Windows-1252 form become '?'.
*/
#ifndef ZARNE_PLATFORM_USER_TEXT_1252_H
#define ZARNE_PLATFORM_USER_TEXT_1252_H

#include <QString>

#include <string>
#include <string_view>

QString DecodeWindows1252(std::string_view text);
std::string EncodeWindows1252(const QString& text);
/* One character; 0 when it has no Windows-1252 form. */
unsigned char EncodeWindows1252Char(QChar c);

#endif
