#include "shell/WmfPicture.h"

#include <QPainter>
#include <algorithm>
#include <cmath>
#include <filesystem>

#ifdef TAL_HAVE_LIBWMF
#include <libwmf/api.h>
#include <libwmf/gd.h>
#endif

namespace tal {

std::string MetafileFontProblem(const std::string& folder) {
  std::error_code ec;
  for (std::filesystem::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
    std::string extension = it->path().extension().string();
    if (extension == ".t1" || extension == ".pfb" || extension == ".afm") return {};
  }
  return "The metafile cannot be drawn: the fonts the metafile renderer needs are not installed (folder " + folder +
         ", Debian package fonts-urw-base35).";
}

#ifdef TAL_HAVE_LIBWMF

namespace {

// Owns one libwmf session; destroying the session frees what the library allocated for it.
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

// libwmf hands the drawing over as a PNG file in pieces; it frees its own image afterwards (an
// image kept for the caller instead would have no way to be freed).
int CollectPng(void* context, char* buffer, int length) {
  if (length > 0) static_cast<std::string*>(context)->append(buffer, static_cast<std::size_t>(length));
  return length;
}

// A failure to draw: lacking fonts are named, for the picture itself is not at fault then.
std::string DrawingProblem(const std::string& otherwise) {
  std::string fonts = MetafileFontProblem();
  return fonts.empty() ? otherwise : fonts;
}

}  // namespace

WmfRendering RenderWmf(const std::string& bytes, double dpi, unsigned maxSide) {
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
    out.problem = DrawingProblem("The metafile renderer could not start.");
    return out;
  }
  wmf_gd_t* device = WMF_GD_GetData(session.api_);
  // libwmf reads the buffer without changing it; its interface is not const.
  std::string copy = bytes;
  if (wmf_mem_open(session.api_, reinterpret_cast<unsigned char*>(copy.data()), static_cast<long>(copy.size())) != wmf_E_None) {
    out.problem = "The metafile could not be read.";
    return out;
  }
  session.opened_ = true;
  wmfD_Rect box;
  if (wmf_scan(session.api_, 0, &box) != wmf_E_None) {
    out.problem = DrawingProblem("The file is not a metafile that can be shown.");
    return out;
  }
  unsigned int width = 0, height = 0;
  if (wmf_display_size(session.api_, &width, &height, dpi, dpi) != wmf_E_None || width == 0 || height == 0 ||
      width > AbsurdMetafileSide || height > AbsurdMetafileSide) {
    out.problem = "The metafile has no usable size.";
    return out;
  }
  // Drawn no larger than the window and the printed page need: a claimed size of metres would
  // take gigabytes and minutes.
  double scale = std::min(1.0, static_cast<double>(maxSide) / std::max(width, height));
  device->type = wmf_gd_png;
  device->flags |= WMF_GD_OUTPUT_MEMORY | WMF_GD_OWN_BUFFER;
  std::string png;
  device->sink.context = &png;
  device->sink.function = CollectPng;
  device->bbox = box;
  device->width = std::max(1u, static_cast<unsigned>(std::lround(width * scale)));
  device->height = std::max(1u, static_cast<unsigned>(std::lround(height * scale)));
  if (!(device->flags & WMF_GD_SUPPORTS_PNG) || wmf_play(session.api_, 0, &box) != wmf_E_None) {
    out.problem = DrawingProblem("The metafile could not be drawn.");
    return out;
  }
  QImage drawing;
  if (!drawing.loadFromData(reinterpret_cast<const uchar*>(png.data()), static_cast<int>(png.size()), "PNG")) {
    out.problem = DrawingProblem("The metafile could not be drawn.");
    return out;
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

WmfRendering RenderWmf(const std::string&, double, unsigned) {
  return {QImage(), "This program was built without a metafile renderer, so the picture cannot be shown."};
}

#endif

}  // namespace tal
