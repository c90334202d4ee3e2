#include "codecs/jpegdecoder.h"

#include "codecs/decodersupport.h"

#include <csetjmp>
#include <cstddef>
#include <cstdio>

#include <jpeglib.h>

using namespace Qt::StringLiterals;

// libjpeg reports a fatal error by calling error_exit, which by default ends the process. Ours
// records the message and longjmps back to runGuarded(). A longjmp skips destructors, so every
// frame it can cross (libjpeg's own and the steps below) holds plain data only; the QImage
// that receives the rows is made between the guarded steps and handed to them as a pointer.
namespace Codecs::Internal {

namespace {

// A hostile progressive file can repeat scans without end, each costing a pass over the
// whole picture; real files have a dozen or so.
constexpr int kMaxScans = 500;
// libjpeg's own working memory (the coefficient buffers of a progressive picture within our
// size limits stay below it). Past it libjpeg would need a backing store, which this
// build lacks, so it fails instead of allocating more.
constexpr long kMaxLibjpegMemory = 512L * 1024 * 1024;

enum class Output { Gray, Rgb, Cmyk, InvertedCmyk };

struct Session
{
    jpeg_decompress_struct cinfo;
    jpeg_error_mgr errorManager;
    jpeg_progress_mgr progressManager;
    std::jmp_buf failure;
    char error[JMSG_LENGTH_MAX];
    char warning[JMSG_LENGTH_MAX]; // the first one only

    const unsigned char *data;
    unsigned long size;
    Output output;
    unsigned char *bits; // the first row of the picture
    std::ptrdiff_t bytesPerLine;
};

Session *sessionOf(j_common_ptr cinfo)
{
    return static_cast<Session *>(cinfo->client_data);
}

[[noreturn]] void fail(Session *session)
{
    std::longjmp(session->failure, 1);
}

[[noreturn]] void failWithLibjpegMessage(j_common_ptr cinfo)
{
    Session *session = sessionOf(cinfo);
    (*cinfo->err->format_message)(cinfo, session->error);
    fail(session);
}

// libjpeg prints warnings (damaged data it can step over) to stderr; we keep the first.
void keepWarning(j_common_ptr cinfo)
{
    Session *session = sessionOf(cinfo);
    if (session->warning[0] == '\0')
        (*cinfo->err->format_message)(cinfo, session->warning);
}

// Called over and over while jpeg_start_decompress() takes in a multi-scan file.
void limitScans(j_common_ptr cinfo)
{
    Session *session = sessionOf(cinfo);
    if (session->cinfo.input_scan_number > kMaxScans) {
        std::snprintf(session->error, sizeof session->error, "More than %d scans in the picture", kMaxScans);
        fail(session);
    }
}

// The only setjmp frame. It has no locals, so nothing in it can be clobbered by the jump.
bool runGuarded(Session *session, void (*step)(Session *))
{
    if (setjmp(session->failure) != 0)
        return false;
    step(session);
    return true;
}

void readHeader(Session *session)
{
    j_decompress_ptr cinfo = &session->cinfo;
    jpeg_create_decompress(cinfo); // keeps err and client_data, clears the rest
    cinfo->mem->max_memory_to_use = kMaxLibjpegMemory;
    cinfo->progress = &session->progressManager;
    jpeg_mem_src(cinfo, session->data, session->size);
    jpeg_read_header(cinfo, TRUE);
}

// Adobe's programs, the main source of CMYK JPEGs, store the channels inverted (255 means no
// ink) and mark such files with their APP14 marker.
void cmykToRgb(const JSAMPLE *cmyk, unsigned char *rgb, JDIMENSION width, bool inverted)
{
    for (JDIMENSION x = 0; x < width; ++x, cmyk += 4, rgb += 3) {
        const unsigned white = inverted ? cmyk[3] : 255u - cmyk[3];
        for (int i = 0; i < 3; ++i) {
            const unsigned channel = inverted ? cmyk[i] : 255u - cmyk[i];
            rgb[i] = static_cast<unsigned char>((channel * white + 127) / 255);
        }
    }
}

void readRows(Session *session)
{
    j_decompress_ptr cinfo = &session->cinfo;
    jpeg_start_decompress(cinfo);

    const bool cmyk = session->output == Output::Cmyk || session->output == Output::InvertedCmyk;
    const int components = session->output == Output::Gray ? 1 : cmyk ? 4 : 3;
    if (cinfo->output_width != cinfo->image_width || cinfo->output_height != cinfo->image_height ||
        cinfo->output_components != components) {
        std::snprintf(session->error, sizeof session->error, "Unexpected output layout");
        fail(session);
    }
    JSAMPROW cmykRow = nullptr;
    if (cmyk) {
        cmykRow = (*cinfo->mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(cinfo), JPOOL_IMAGE,
                                              cinfo->output_width * 4, 1)[0];
    }
    while (cinfo->output_scanline < cinfo->output_height) {
        unsigned char *line = session->bits + std::ptrdiff_t(cinfo->output_scanline) * session->bytesPerLine;
        JSAMPROW target = cmyk ? cmykRow : line;
        if (jpeg_read_scanlines(cinfo, &target, 1) != 1) {
            // Only a suspending data source returns no row; ours never suspends.
            std::snprintf(session->error, sizeof session->error, "No picture rows after row %u",
                          cinfo->output_scanline);
            fail(session);
        }
        if (cmyk)
            cmykToRgb(cmykRow, line, cinfo->output_width, session->output == Output::InvertedCmyk);
    }
    // Every row is out; jpeg_finish_decompress() would only read on to the end marker and
    // could fail a complete picture over damage after it.
}

// Chooses the output colours and makes the picture the rows go into; returns the reason when
// the picture is refused.
QString prepareOutput(Session &session, QImage &image)
{
    jpeg_decompress_struct &cinfo = session.cinfo;
    const QString refusal = sizeRefusal(cinfo.image_width, cinfo.image_height);
    if (!refusal.isEmpty())
        return refusal;

    QImage::Format format = QImage::Format_RGB888;
    switch (cinfo.jpeg_color_space) {
    case JCS_GRAYSCALE:
        session.output = Output::Gray;
        cinfo.out_color_space = JCS_GRAYSCALE;
        format = QImage::Format_Grayscale8;
        break;
    case JCS_YCbCr:
    case JCS_RGB:
        session.output = Output::Rgb;
        cinfo.out_color_space = JCS_RGB;
        break;
    case JCS_CMYK:
    case JCS_YCCK:
        session.output = cinfo.saw_Adobe_marker ? Output::InvertedCmyk : Output::Cmyk;
        cinfo.out_color_space = JCS_CMYK;
        break;
    default:
        return u"Unsupported colour layout (%1 components)"_s.arg(cinfo.num_components);
    }

    image = QImage(int(cinfo.image_width), int(cinfo.image_height), format);
    if (image.isNull())
        return u"Not enough memory for the picture"_s;
    session.bits = image.bits();
    session.bytesPerLine = image.bytesPerLine();
    return {};
}

} // namespace

Picture decodeJpeg(QByteArrayView data)
{
    Picture picture;
    if (!data.startsWith("\xff\xd8")) {
        picture.error = wrongFormatMessage(data, u"JPEG");
        return picture;
    }

    Session session{};
    session.cinfo.err = jpeg_std_error(&session.errorManager);
    session.errorManager.error_exit = failWithLibjpegMessage;
    session.errorManager.output_message = keepWarning;
    session.cinfo.client_data = &session;
    session.progressManager.progress_monitor = limitScans;
    session.data = reinterpret_cast<const unsigned char *>(data.data());
    session.size = static_cast<unsigned long>(data.size());

    if (!runGuarded(&session, readHeader)) {
        picture.error = QString::fromLocal8Bit(session.error);
    } else {
        picture.error = prepareOutput(session, picture.image);
        if (picture.error.isEmpty() && !runGuarded(&session, readRows))
            picture.error = QString::fromLocal8Bit(session.error);
    }
    jpeg_destroy_decompress(&session.cinfo);

    if (!picture.error.isEmpty())
        picture.image = QImage();
    else if (session.warning[0] != '\0')
        picture.warning = QString::fromLocal8Bit(session.warning);
    return picture;
}

} // namespace Codecs::Internal
