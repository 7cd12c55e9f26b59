/*
** Bitmaps and icons from a module's resources (LoadBitmap, LoadIcon), the system's own
** bitmaps and icons (a null instance), DrawIcon, and the pictures of cursor resources.
** Resource bitmaps are device-independent bitmaps without their file header; icons and
** cursors are chosen from their group, nearest 32x32.
*/
#include "platform/gdi/gdi_internal.h"
#include "platform/gdi/gdi_surface.h"
#include "platform/kernel/resources.h"

#include <QDataStream>
#include <QIODevice>
#include <QPainterPath>

#include <cstring>
#include <map>
#include <tuple>

namespace zarne::gdi {

namespace {

constexpr int kIconSize = 32;  // SM_CXICON and SM_CYICON at 96 dpi
constexpr DWORD kBitFields = 3;

std::map<uintptr_t, QImage>& Icons() {
  static std::map<uintptr_t, QImage> icons;
  return icons;
}

/* The system's icons, shared by every caller and never destroyed. */
std::map<WORD, HICON>& SharedIcons() {
  static std::map<WORD, HICON> shared;
  return shared;
}

DWORD ReadDword(const BYTE* bytes) {
  return bytes[0] | bytes[1] << 8 | bytes[2] << 16 | static_cast<DWORD>(bytes[3]) << 24;
}
WORD ReadWord(const BYTE* bytes) { return static_cast<WORD>(bytes[0] | bytes[1] << 8); }

/* The bytes of a resource of a module, or an empty array. */
QByteArray ResourceBytes(HINSTANCE instance, LPCSTR name, LPCSTR type) {
  HRSRC found = FindResource(instance, name, type);
  if (!found) return QByteArray();
  const void* data = LockResource(LoadResource(instance, found));
  DWORD size = SizeofResource(instance, found);
  if (!data || size == 0) return QByteArray();
  return QByteArray(static_cast<const char*>(data), static_cast<qsizetype>(size));
}

/* A DIB (header, colour table, bits) as a BMP file image: the 14-byte file header added. */
QImage ImageFromDib(const QByteArray& dib, int* bitsPixel) {
  if (dib.size() < 12) return QImage();
  const BYTE* bytes = reinterpret_cast<const BYTE*>(dib.constData());
  DWORD headerSize = ReadDword(bytes);
  if (headerSize < 12 || headerSize > static_cast<DWORD>(dib.size())) return QImage();
  DWORD paletteBytes = 0;
  if (headerSize == 12) {  // the old core header: three-byte colour entries
    WORD bitCount = ReadWord(bytes + 10);
    *bitsPixel = bitCount;
    if (bitCount <= 8) paletteBytes = 3u << bitCount;
  } else {
    if (headerSize < 40) return QImage();
    WORD bitCount = ReadWord(bytes + 14);
    DWORD compression = ReadDword(bytes + 16), colorsUsed = ReadDword(bytes + 32);
    *bitsPixel = bitCount;
    if (colorsUsed > 256) return QImage();
    if (colorsUsed) paletteBytes = 4 * colorsUsed;
    else if (bitCount <= 8) paletteBytes = 4u << bitCount;
    if (compression == kBitFields && headerSize == 40) paletteBytes += 12;
  }
  DWORD bitsOffset = 14 + headerSize + paletteBytes;
  QByteArray file;
  QDataStream stream(&file, QIODevice::WriteOnly);
  stream.setByteOrder(QDataStream::LittleEndian);
  stream.writeRawData("BM", 2);
  stream << static_cast<quint32>(14 + dib.size()) << quint16(0) << quint16(0)
         << static_cast<quint32>(bitsOffset);
  file.append(dib);
  QImage image;
  if (!image.loadFromData(file, "BMP")) return QImage();
  return image;
}

/* An RT_ICON image (a PNG, or a DIB of double height with its AND mask) as a picture. */
QImage DecodeIconData(const QByteArray& data, int width, int height) {
  if (data.startsWith("\x89PNG")) return QImage::fromData(data, "PNG");
  // Wrap it as a one-image .ico file and let the icon reader apply the mask.
  QByteArray file;
  QDataStream stream(&file, QIODevice::WriteOnly);
  stream.setByteOrder(QDataStream::LittleEndian);
  stream << quint16(0) << quint16(1) << quint16(1);
  stream << quint8(width >= 256 ? 0 : width) << quint8(height >= 256 ? 0 : height) << quint8(0)
         << quint8(0) << quint16(1) << quint16(32) << static_cast<quint32>(data.size())
         << quint32(22);
  file.append(data);
  return QImage::fromData(file, "ICO");
}

/* Pictures already decoded, by their resource bytes and size. A window's icon is loaded for
   every window made, an MDI child's each time a file opens, and Qt's image reader looked its
   plugin up and decoded the picture again each time. A module holds few icons and cursors; a
   cache grown past them (resource data from elsewhere) starts again. */
constexpr size_t kDecodedIconsKept = 64;

QImage ImageFromIconData(const QByteArray& data, int width, int height) {
  static std::map<std::tuple<QByteArray, int, int>, QImage> decoded;
  auto key = std::make_tuple(data, width, height);
  auto found = decoded.find(key);
  if (found != decoded.end()) return found->second;
  QImage image = DecodeIconData(data, width, height);
  if (decoded.size() >= kDecodedIconsKept) decoded.clear();
  decoded.emplace(std::move(key), image);
  return image;
}

/* The entry of an icon or cursor group (a 6-byte header, then 14 bytes an image) whose
   width, as `widthOf` reads it, is nearest kIconSize, more colour bits breaking ties; null
   when the group holds none. */
const BYTE* BestGroupEntry(const QByteArray& group, int (*widthOf)(const BYTE* entry)) {
  if (group.size() < 6) return nullptr;
  const BYTE* bytes = reinterpret_cast<const BYTE*>(group.constData());
  WORD count = ReadWord(bytes + 4);
  const BYTE* best = nullptr;
  int bestScore = 0;
  for (int i = 0; i < count && 6 + (i + 1) * 14 <= group.size(); ++i) {
    const BYTE* entry = bytes + 6 + i * 14;
    int score = 1000 - std::abs(widthOf(entry) - kIconSize) * 10 + ReadWord(entry + 6) / 8;
    if (!best || score > bestScore) best = entry, bestScore = score;
  }
  return best;
}

QImage IconFromGroup(HINSTANCE instance, LPCSTR name) {
  QByteArray group = ResourceBytes(instance, name, RT_GROUP_ICON);
  const BYTE* entry = BestGroupEntry(group, [](const BYTE* e) { return e[0] ? int{e[0]} : 256; });
  if (!entry) return QImage();
  QByteArray image = ResourceBytes(instance, MAKEINTRESOURCE(ReadWord(entry + 12)), RT_ICON);
  return ImageFromIconData(image, entry[0] ? entry[0] : 256, entry[1] ? entry[1] : 256);
}

/* A cursor of a module: its group names images of (width, twice the height, planes, bits,
   size, ordinal); each image is the hot spot in two words followed by the icon-style DIB. */
QImage CursorFromGroup(HINSTANCE instance, LPCSTR name, POINT* hotSpot) {
  QByteArray group = ResourceBytes(instance, name, RT_GROUP_CURSOR);
  const BYTE* entry = BestGroupEntry(group, [](const BYTE* e) { return int{ReadWord(e)}; });
  if (!entry) return QImage();
  QByteArray image = ResourceBytes(instance, MAKEINTRESOURCE(ReadWord(entry + 12)), RT_CURSOR);
  if (image.size() <= 4) return QImage();
  const BYTE* imageBytes = reinterpret_cast<const BYTE*>(image.constData());
  *hotSpot = POINT{ReadWord(imageBytes), ReadWord(imageBytes + 2)};
  int width = ReadWord(entry), height = ReadWord(entry + 2) / 2;
  return ImageFromIconData(image.mid(4), width ? width : 256, height ? height : 256);
}

/* The system's combo-box arrow: a black downward triangle on the button face. */
QImage ComboArrowImage() {
  QImage image(17, 17, QImage::Format_RGB32);
  image.fill(QColor(192, 192, 192));
  for (int row = 0; row < 4; ++row)
    for (int x = 5 + row; x <= 11 - row; ++x) image.setPixel(x, 7 + row, qRgb(0, 0, 0));
  return image;
}

/* The system's icons, drawn once: the application window, stop, question, exclamation and
   information signs. */
QImage SystemIconImage(WORD id) {
  QImage image(kIconSize, kIconSize, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  QPainter painter(&image);
  painter.setRenderHint(QPainter::Antialiasing);
  QFont font("Liberation Sans");
  font.setPixelSize(22);
  font.setBold(true);
  painter.setFont(font);
  auto sign = [&](QColor fill, const char* mark, bool triangle) {
    painter.setPen(QPen(Qt::black, 1));
    painter.setBrush(fill);
    if (triangle) painter.drawPolygon(QPolygonF({QPointF(16, 1), QPointF(31, 30), QPointF(1, 30)}));
    else painter.drawEllipse(QRectF(1, 1, 30, 30));
    painter.setPen(fill == Qt::yellow ? Qt::black : Qt::white);
    painter.drawText(QRect(0, triangle ? 4 : 0, kIconSize, kIconSize), Qt::AlignCenter, mark);
  };
  switch (id) {
    case 32513: sign(QColor(200, 0, 0), "X", false); break;  // IDI_HAND
    case 32514: sign(QColor(0, 0, 160), "?", false); break;  // IDI_QUESTION
    case 32515: sign(Qt::yellow, "!", true); break;          // IDI_EXCLAMATION
    case 32516: sign(QColor(0, 0, 160), "i", false); break;  // IDI_ASTERISK
    default:                                                 // IDI_APPLICATION
      painter.setPen(Qt::black);
      painter.setBrush(Qt::white);
      painter.drawRect(QRectF(2.5, 4.5, 27, 23));
      painter.fillRect(QRectF(3, 5, 26, 5), QColor(0, 0, 128));
      break;
  }
  return image;
}

HICON RegisterIcon(const QImage& image) {
  if (image.isNull()) return nullptr;
  uintptr_t value = reinterpret_cast<uintptr_t>(RegisterObject(std::make_unique<GdiObject>()));
  // The handle number is reserved through the object table; the icon lives in its own table.
  EraseObject(reinterpret_cast<HGDIOBJ>(value));
  Icons()[value] = image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
  return reinterpret_cast<HICON>(value);
}

HBITMAP RegisterBitmap(const QImage& image, int bitsPixel) {
  HGDIOBJ handle = NewBitmap(image.width(), image.height(), bitsPixel == 1 ? 1 : 32);
  GdiObject* object = LookupObject(handle, ObjectKind::Bitmap);
  if (!object) return nullptr;
  object->image = image.convertToFormat(QImage::Format_RGB32);
  return static_cast<HBITMAP>(handle);
}

}  // namespace

}  // namespace zarne::gdi

using namespace zarne::gdi;

HBITMAP LoadBitmapA(HINSTANCE instance, LPCSTR name) {
  if (!name) return nullptr;
  if (!instance) {
    if (IS_INTRESOURCE(name) && reinterpret_cast<uintptr_t>(name) == OBM_COMBO)
      return RegisterBitmap(ComboArrowImage(), 32);
    return nullptr;
  }
  int bitsPixel = 32;
  QImage image = ImageFromDib(ResourceBytes(instance, name, RT_BITMAP), &bitsPixel);
  return image.isNull() ? nullptr : RegisterBitmap(image, bitsPixel);
}

HICON LoadIconA(HINSTANCE instance, LPCSTR name) {
  if (!name) return nullptr;
  if (!instance) {
    // The system's icons are shared: the same handle every time.
    if (!IS_INTRESOURCE(name)) return nullptr;
    WORD id = static_cast<WORD>(reinterpret_cast<uintptr_t>(name));
    if (id < 32512 || id > 32516) return nullptr;
    HICON& icon = SharedIcons()[id];
    if (!icon) icon = RegisterIcon(SystemIconImage(id));
    return icon;
  }
  return RegisterIcon(IconFromGroup(instance, name));
}

BOOL DrawIcon(HDC handle, int x, int y, HICON icon) {
  DeviceContext* dc = LookupDC(handle);
  auto found = Icons().find(reinterpret_cast<uintptr_t>(icon));
  if (!dc || found == Icons().end()) return FALSE;
  if (Recording(*dc)) {
    GdiDrawRecord record;
    record.call = "DrawIcon";
    record.points.push_back(POINT{x, y});
    RecordCall(*dc, record);
  }
  DcPainter painter(*dc);
  if (!painter.active()) return TRUE;
  QPoint device = LogicalToDevicePoint(dc->state, x, y);
  // Icons are drawn at their screen size in device pixels whatever the mapping mode.
  int size = dc->kind == DcKind::Printer ? kIconSize * dc->dpiX / kScreenDpi : kIconSize;
  painter->drawImage(QRect(device, QSize(size, size)), found->second);
  return TRUE;
}

QImage GdiCursorImage(HINSTANCE instance, LPCSTR name, POINT* hotSpot) {
  POINT spot{0, 0};
  if (!instance || !name) return QImage();
  QImage image = CursorFromGroup(instance, name, &spot);
  if (hotSpot) *hotSpot = spot;
  return image;
}

QImage GdiIconImage(HICON icon) {
  auto found = Icons().find(reinterpret_cast<uintptr_t>(icon));
  return found == Icons().end() ? QImage() : found->second;
}

BOOL GdiDestroyIcon(HICON icon) {
  if (!Icons().count(reinterpret_cast<uintptr_t>(icon))) return FALSE;
  for (const auto& [id, shared] : SharedIcons())
    if (shared == icon) return TRUE;  // the system's icons stay
  Icons().erase(reinterpret_cast<uintptr_t>(icon));
  return TRUE;
}
