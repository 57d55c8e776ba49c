#include "shell/WmfPicture.h"

#include <QPainter>

#ifdef TAL_HAVE_LIBWMF
#include <libwmf/api.h>
#include <libwmf/gd.h>
#endif

namespace tal {

#ifdef TAL_HAVE_LIBWMF

namespace {

// Pixels of libwmf's drawing: 0x7F alpha (0 opaque, 127 clear) over 8-bit red, green, blue.
QRgb ArgbOfGdPixel(int gdPixel) {
  auto pixel = static_cast<unsigned int>(gdPixel);
  unsigned int transparency = (pixel >> 24) & 0x7f;
  unsigned int alpha = 255 - (transparency * 255) / 127;
  return qRgba(static_cast<int>((pixel >> 16) & 0xff), static_cast<int>((pixel >> 8) & 0xff),
               static_cast<int>(pixel & 0xff), static_cast<int>(alpha));
}

// Owns one libwmf session.
class WmfSession {
 public:
  ~WmfSession() {
    if (api_) {
      if (opened_) wmf_mem_close(api_);
      wmf_api_destroy(api_);
    }
  }
  wmfAPI* api_ = nullptr;
  bool opened_ = false;
};

}  // namespace

WmfRendering RenderWmf(const std::string& bytes, double dpi) {
  WmfRendering out;
  if (bytes.size() < 18) {
    out.problem = "The file is too short to be a metafile.";
    return out;
  }
  WmfSession session;
  wmfAPI_Options options{};
  options.function = wmf_gd_function;
  unsigned long flags = WMF_OPT_FUNCTION | WMF_OPT_IGNORE_NONFATAL | WMF_OPT_NO_ERROR | WMF_OPT_NO_DEBUG;
  if (wmf_api_create(&session.api_, flags, &options) != wmf_E_None || !session.api_) {
    out.problem = "The metafile renderer could not start.";
    return out;
  }
  wmf_gd_t* device = WMF_GD_GetData(session.api_);
  device->type = wmf_gd_image;
  // libwmf reads the buffer without changing it; its interface is not const.
  std::string copy = bytes;
  if (wmf_mem_open(session.api_, reinterpret_cast<unsigned char*>(copy.data()), static_cast<long>(copy.size())) != wmf_E_None) {
    out.problem = "The metafile could not be read.";
    return out;
  }
  session.opened_ = true;
  wmfD_Rect box;
  if (wmf_scan(session.api_, 0, &box) != wmf_E_None) {
    out.problem = "The file is not a metafile that can be shown.";
    return out;
  }
  unsigned int width = 0, height = 0;
  if (wmf_display_size(session.api_, &width, &height, dpi, dpi) != wmf_E_None || width == 0 || height == 0 ||
      width > 20000 || height > 20000) {
    out.problem = "The metafile has no usable size.";
    return out;
  }
  device->bbox = box;
  device->width = width;
  device->height = height;
  if (wmf_play(session.api_, 0, &box) != wmf_E_None || !device->gd_image) {
    out.problem = "The metafile could not be drawn.";
    return out;
  }
  int* pixels = wmf_gd_image_pixels(device->gd_image);
  if (!pixels) {
    out.problem = "The metafile could not be drawn.";
    return out;
  }
  QImage drawing(static_cast<int>(width), static_cast<int>(height), QImage::Format_ARGB32);
  for (int y = 0; y < drawing.height(); ++y) {
    auto* line = reinterpret_cast<QRgb*>(drawing.scanLine(y));
    for (int x = 0; x < drawing.width(); ++x) line[x] = ArgbOfGdPixel(*pixels++);
  }
  // A metafile draws on white paper: what it leaves clear shows white, on screen and in print.
  QImage paper(drawing.size(), QImage::Format_RGB32);
  paper.fill(Qt::white);
  QPainter painter(&paper);
  painter.drawImage(0, 0, drawing);
  painter.end();
  out.image = std::move(paper);
  return out;
}

#else

WmfRendering RenderWmf(const std::string&, double) {
  return {QImage(), "This program was built without a metafile renderer, so the picture cannot be shown."};
}

#endif

}  // namespace tal
