// tessarin-cli preview: a legend drawn as a PNG picture for a report, with the
// same swatches and line samples as the editor's spreadsheet.

#include "cli/clicommand.h"
#include "cli/legendpreview.h"
#include "grid/widget/cqtgridpainter.h"
#include "pickers/core/clinestylerenderer.h"
#include "pickers/core/cpenfile.h"
#include "platform/cfilefacts.h"
#include "platform/cfileio.h"
#include "platform/cnumberformat.h"
#include "platform/csettingsstore.h"

#include <QBuffer>
#include <QByteArray>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace {

constexpr const char* Name = "preview";
constexpr int DefaultWidth = 520;

// The folder or file an option names, else the common setting's; empty when neither.
std::string Chosen(const CCliArgs& a, const char* option, const char* setting)
{
    if (a.Has(option))
        return a.Value(option);
    return GetCommonSetting(setting).value_or(std::string());
}

std::string ErrorText(int error)
{
    return std::strerror(error);
}

// Qt's notes about the environment (no runtime folder, no display) are no
// business of a command's caller; only its real failures are shown.
void QuietQtNotes(QtMsgType type, const QMessageLogContext&, const QString& message)
{
    if (type == QtCriticalMsg || type == QtFatalMsg)
        std::fprintf(stderr, "tessarin-cli %s: %s\n", Name, message.toLocal8Bit().constData());
}

// The picture needs fonts and a raster engine, which Qt keeps behind its GUI
// application; no window is ever shown, so no display is needed either.
QByteArray RenderPng(const CLegendPreview& preview, int width)
{
    if (!std::getenv("QT_QPA_PLATFORM"))
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    qInstallMessageHandler(QuietQtNotes);
    static int argc = 1;
    static char program[] = "tessarin-cli";
    static char* argv[] = {program, nullptr};
    QGuiApplication app(argc, argv);
    QImage image(width, preview.Height(), QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        CQtGridPainter surface(painter);
        preview.Draw(surface, width);
    }
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return png;
}

int Preview(const std::vector<std::string>& args, const CCliCommand& self)
{
    const CCliArgs a = ParseCliArgs(self, args);
    const std::string& in = a.positional[0];
    const std::string& out = a.positional[1];
    int width = DefaultWidth;
    if (a.Has("--width")) {
        const std::string text = a.Value("--width");
        const char* end = nullptr;
        width = CNumberFormat::ParseInt32(text.c_str(), &end);
        // Digits only: the number reader would skip a leading blank or take a sign.
        if (text.empty() || !std::isdigit(static_cast<unsigned char>(text[0])) || *end ||
            width < CLegendPreview::MinWidth || width > CLegendPreview::MaxWidth) {
            std::fprintf(stderr,
                         "tessarin-cli %s: --width takes a number of pixels from %d to %d, not \"%s\"\n",
                         Name, CLegendPreview::MinWidth, CLegendPreview::MaxWidth, text.c_str());
            return ExitUsage;
        }
    }

    CLLLegend legend;
    if (const CFileResult read = legend.ReadLEG(in); !read.Ok())
        return Fail(Name, "cannot read " + in + ": " + read.Reason());

    CPatternTable patterns;
    // A picture taller than the raster engine and the PNG writer take is
    // refused before gigabytes are spent on it.
    if (const CLegendPreview sizing(legend, patterns, nullptr);
        legend.GetRowCount() > sizing.MaxRows())
        return Fail(Name, CNumberFormat::Format(
                              "cannot draw %s: it has %d rows, and a picture holds at most %d "
                              "(%d pixels high)",
                              in.c_str(), legend.GetRowCount(), sizing.MaxRows(),
                              CLegendPreview::MaxHeight));

    const std::string folder = Chosen(a, "--patterns", "BRUSH_PATH");
    int error = 0;
    if (!folder.empty() && !CFileFacts::CanList(folder, error)) {
        // A folder named here that cannot be read is a mistake; one from the
        // settings only means the swatches go without patterns.
        if (a.Has("--patterns"))
            return Fail(Name, "cannot read the pattern folder " + folder + ": " + ErrorText(error));
    } else if (!folder.empty()) {
        patterns.Load(folder);
    }
    const std::string pen = Chosen(a, "--pen", "PEN_FILE");
    if (a.Has("--pen")) {
        // A file named here that is no pen file is a mistake the user must
        // hear of; the PEN_FILE setting only leaves the line samples out.
        // Read through the cache the line samples are drawn from, so the file is read once.
        const std::shared_ptr<const CPenFile> file = CPenFile::Cached(pen);
        if (file->Status() == EPenFileStatus::CannotOpen)
            return Fail(Name, "cannot read the pen file " + pen + ": " + file->Why());
        if (file->Status() == EPenFileStatus::Invalid)
            return Fail(Name, "cannot use the pen file " + pen + ": not a pen file (" + file->Why() + ")");
    }

    // A folder, FIFO or device as OUT is refused before any drawing.
    const bool existed = CFileFacts::Exists(out);
    CAtomicFileWriter writer(out);
    if (!writer.IsOpen())
        return Fail(Name, WriteFailure(out, existed, writer.Result().Reason()));

    const CLegendPreview preview(legend, patterns,
                                 [&pen](CGridPainter& painter, int32_t style, int x, int y,
                                        int width, int height, uint32_t colour) {
                                     DrawLineStyle(painter, style, pen, x, y, width, height, colour);
                                 });
    const QByteArray png = RenderPng(preview, width);
    if (png.isEmpty())
        return Fail(Name, WriteFailure(out, existed, "the picture could not be encoded"));
    if (!writer.Write(std::string_view(png.constData(), static_cast<size_t>(png.size()))) ||
        !writer.Commit())
        return Fail(Name, WriteFailure(out, existed, writer.Result().Reason()));
    return ExitOk;
}

} // namespace

std::vector<CCliCommand> PreviewCommands()
{
    CCliCommand preview{
        Name, "LEG OUT.png [--patterns DIR] [--pen FILE] [--width N]",
        "Draws the legend LEG as a PNG picture for a report: its name and description,\n"
        "then one line a row with the fill swatch (background, then the fill pattern in\n"
        "the fill colour; a grey checker where the background is transparent), the line\n"
        "sample in the line colour, the range or text value, and the label.\n"
        "--patterns DIR  folder of the pattern bitmaps (default: the BRUSH_PATH setting)\n"
        "--pen FILE      pen file of the line styles (default: the PEN_FILE setting)\n"
        "--width N       width of the picture in pixels, 240 to 4000 (default 520)\n"
        "OUT.png is replaced atomically; exit code 1 when LEG cannot be read or OUT\n"
        "cannot be written.",
        2, 2, {"--patterns", "--pen", "--width"}, {}, nullptr};
    preview.run = [self = preview](const std::vector<std::string>& args, CUserPrompt&) { return Preview(args, self); };
    return {preview};
}
