#pragma once

#include <QColor>
#include <QDate>
#include <QDateTime>
#include <QString>
#include <QTime>

// The fixed text forms of values in profile files and stores. Written as "dd.MM.yyyy",
// "HH:mm:ss", "dd.MM.yyyy HH:mm:ss" and with a decimal comma; read in that form, in
// ISO 8601 and with a decimal point.
namespace KvValueFormat {

QString DateToText(const QDate& date);
QString TimeToText(const QTime& time);
QString DateTimeToText(const QDateTime& dateTime);
QString FloatToText(double value);

// An invalid result (and ok false) when the text does not convert.
QDate TextToDate(const QString& text, bool* ok = nullptr);
QTime TextToTime(const QString& text, bool* ok = nullptr);
QDateTime TextToDateTime(const QString& text, bool* ok = nullptr);
double TextToFloat(const QString& text, bool* ok = nullptr);

} // namespace KvValueFormat

// Colour values as 00BBGGRR integers (blue in the high byte), with the named colours of
// the program's files; 0x800000nn are system colours, looked up in the palette.
namespace KvColor {

inline constexpr int clBlack = 0x000000;
inline constexpr int clMaroon = 0x000080;
inline constexpr int clGreen = 0x008000;
inline constexpr int clOlive = 0x008080;
inline constexpr int clNavy = 0x800000;
inline constexpr int clPurple = 0x800080;
inline constexpr int clTeal = 0x808000;
inline constexpr int clGray = 0x808080;
inline constexpr int clSilver = 0xC0C0C0;
inline constexpr int clRed = 0x0000FF;
inline constexpr int clLime = 0x00FF00;
inline constexpr int clYellow = 0x00FFFF;
inline constexpr int clBlue = 0xFF0000;
inline constexpr int clFuchsia = 0xFF00FF;
inline constexpr int clAqua = 0xFFFF00;
inline constexpr int clWhite = 0xFFFFFF;
inline constexpr int clWindow = int(0x80000005u);
inline constexpr int clWindowText = int(0x80000008u);
inline constexpr int clBtnFace = int(0x8000000Fu);
inline constexpr int clHighlight = int(0x8000000Du);
inline constexpr int clHighlightText = int(0x8000000Eu);
inline constexpr int clNone = 0x1FFFFFFF;
inline constexpr int clDefault = 0x20000000;

// The colour's name when it has one, else "$" and 8 upper-case hexadecimal digits.
QString ColorToText(int color);
// A name (any letter case), "$"/"0x" hexadecimal or a decimal number.
int TextToColor(const QString& text, bool* ok = nullptr);
// System colours from the application palette (fixed defaults without a GUI
// application); clNone gives transparent, clDefault an invalid QColor ("use the default").
QColor ToQColor(int color);
// The 00BBGGRR value of an RGB colour.
int FromQColor(const QColor& color);

} // namespace KvColor
