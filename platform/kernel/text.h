/*
** Text in the system's single-byte code page, Windows-1252: conversion to and from the
** Unicode forms the host uses (UTF-16 for the toolkit side, UTF-8 for file names), and
** the case mapping calls AnsiUpper/AnsiLower/CharUpper/CharLower.
**
** Conversions never fail: a character with no Windows-1252 form becomes '?', and
** malformed UTF-8 or a lone UTF-16 surrogate becomes '?' too. The five bytes that
** Windows-1252 leaves undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D) map to the C1 control
** characters of the same value and back, so every byte string survives a round trip.
*/
#ifndef ZARNE_PLATFORM_KERNEL_TEXT_H
#define ZARNE_PLATFORM_KERNEL_TEXT_H

#include "platform/kernel/wintypes.h"

#include <string>
#include <string_view>

std::u16string Cp1252ToUtf16(std::string_view text);
std::string Utf16ToCp1252(std::u16string_view text);
std::string Cp1252ToUtf8(std::string_view text);
std::string Utf8ToCp1252(std::string_view text);

/* One code point of a Windows-1252 byte, and the byte of a code point ('?' when none). */
char16_t Cp1252ToCodePoint(unsigned char byte);
char CodePointToCp1252(char32_t code_point);

/* Case mapping of one Windows-1252 byte: ASCII letters, the accented letters of
   0xC0-0xFE (not the signs 0xD7 and 0xF7; 0xDF has no capital), and the pairs
   0x8A/0x9A, 0x8C/0x9C, 0x8E/0x9E, 0x9F/0xFF. */
unsigned char Cp1252Upper(unsigned char byte);
unsigned char Cp1252Lower(unsigned char byte);
bool Cp1252IsAlpha(unsigned char byte);

/* The string forms convert in place and return their argument. Given a value whose high
   bits are zero instead of a pointer, they convert that one character and return it in
   the low byte, as the original calls do (MAKEINTRESOURCE-style single-character form). */
LPSTR AnsiUpper(LPSTR text);
LPSTR AnsiLower(LPSTR text);
LPSTR CharUpper(LPSTR text);
LPSTR CharLower(LPSTR text);
DWORD CharUpperBuff(LPSTR text, DWORD length);
BOOL IsCharAlpha(CHAR ch);
BOOL IsCharUpper(CHAR ch);
BOOL IsCharLower(CHAR ch);

#endif
