// Build tool: renders the SVG artwork listed in assets/artwork.txt into the pictures the program
// loads. Pictures with a cut-out colour get exactly that colour wherever the drawing leaves them
// uncovered; bitmap buttons are drawn in three states (up, down, hot) and keep olive where they
// are transparent, their edges blended over the picture they sit on.
//
//   kestrava_render_artwork <assets folder> <output folder>
//
// Manifest lines (blank lines and lines starting with '#' are skipped):
//   picture <name> <svg> <w> <h> [cutout]   -> <name>.png, magenta outside the drawing when "cutout"
//   png     <name> <svg> <w> <h>            -> <name>.png with its alpha channel
//   jpeg    <name> <svg> <w> <h>            -> <name>.jpg
//   button  <name> <svg> <x> <y> <w> <h> <theme> <picture> [label...]
//                                           -> <name>-up.png, <name>-down.png, <name>-hot.png
#include <QColor>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QHash>
#include <QImage>
#include <QPainter>
#include <QStringList>
#include <QSvgRenderer>
#include <QTextStream>

#include <cstdio>
#include <map>

namespace {

const QRgb kMagenta = qRgb(255, 0, 255);
const QRgb kOlive = qRgb(128, 128, 0);

struct StateColours {
    const char* faceTop;
    const char* faceBottom;
    const char* border;
    const char* ink;
    const char* hilite;
    int shift;
};

struct Theme {
    StateColours up, down, hot;
};

// The face colours of each button family, by state.
const std::map<QString, Theme>& Themes() {
    static const std::map<QString, Theme> themes = {
        {"slate", {{"#3b4657", "#2b3340", "#161b23", "#dfe7f1", "#56637a", 0},
                   {"#222933", "#272f3b", "#10141a", "#c9d3df", "#2b3340", 1},
                   {"#4a586e", "#36414f", "#1a2029", "#ffffff", "#6b7a93", 0}}},
        {"blue", {{"#3497e6", "#1b6fc2", "#0d4a87", "#ffffff", "#74bdf5", 0},
                  {"#1a64ad", "#1d6cba", "#0b3f73", "#e8f3ff", "#1f70bf", 1},
                  {"#4eabf2", "#2580d6", "#0f5596", "#ffffff", "#97d0fa", 0}}},
        {"accent", {{"#ff9a3d", "#e86a12", "#9a3f05", "#ffffff", "#ffc38a", 0},
                    {"#d45f0e", "#de6912", "#8a3804", "#fff3e8", "#e06d17", 1},
                    {"#ffae5c", "#f47d22", "#a84808", "#ffffff", "#ffd6ab", 0}}},
        {"chrome", {{"#2a86d2", "#1d6db6", "#0e4f8c", "#e9f4ff", "#5aa8e6", 0},
                    {"#155893", "#175f9e", "#0b3d6b", "#d7e9fa", "#1b64a6", 1},
                    {"#47a2ea", "#2b86d3", "#115a9c", "#ffffff", "#8ac7f6", 0}}},
        {"close", {{"#2a86d2", "#1d6db6", "#0e4f8c", "#e9f4ff", "#5aa8e6", 0},
                   {"#a8281f", "#b32d23", "#6f1812", "#ffe9e7", "#b83a30", 1},
                   {"#f0574b", "#d43a2f", "#8c2019", "#ffffff", "#ff8f86", 0}}},
        {"link", {{"#2d3644", "#222934", "#3c4a5e", "#8fc3f2", "#3b4657", 0},
                  {"#17324f", "#1b3a5b", "#2a5d92", "#d4e9ff", "#1c3d60", 1},
                  {"#2f5e8e", "#234a72", "#5a95d0", "#ffffff", "#4a7fb5", 0}}},
    };
    return themes;
}

QString ReadText(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return {};
    return QString::fromUtf8(file.readAll());
}

QImage RenderSvg(const QString& svgText, int width, int height) {
    QSvgRenderer renderer(svgText.toUtf8());
    QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    if (!renderer.isValid()) return {};
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    renderer.render(&painter, QRectF(0, 0, width, height));
    painter.end();
    return image.convertToFormat(QImage::Format_ARGB32);
}

// Opaque where the drawing covers at least half a pixel, the cut-out colour elsewhere.
QImage Flatten(const QImage& drawing, QRgb cutout) {
    QImage out(drawing.size(), QImage::Format_RGB32);
    for (int y = 0; y < drawing.height(); ++y) {
        for (int x = 0; x < drawing.width(); ++x) {
            const QRgb p = drawing.pixel(x, y);
            QRgb c = qAlpha(p) >= 128 ? qRgb(qRed(p), qGreen(p), qBlue(p)) : cutout;
            if (c == cutout && qAlpha(p) >= 128) c = qRgb(qRed(p), qGreen(p), qBlue(p) ^ 1);
            out.setPixel(x, y, c);
        }
    }
    return out;
}

// A button picture: olive where nothing is drawn, partly covered pixels blended over the
// picture behind the button so that its edges are smooth on the window.
QImage ButtonPicture(const QImage& drawing, const QImage& behind, int left, int top) {
    QImage out(drawing.size(), QImage::Format_RGB32);
    for (int y = 0; y < drawing.height(); ++y) {
        for (int x = 0; x < drawing.width(); ++x) {
            const QRgb p = drawing.pixel(x, y);
            const int a = qAlpha(p);
            QRgb c;
            if (a == 0) {
                c = kOlive;
            } else {
                const QRgb b = behind.isNull() ? qRgb(0, 0, 0) : behind.pixel(left + x, top + y);
                auto mix = [a](int fg, int bg) { return (fg * a + bg * (255 - a)) / 255; };
                c = qRgb(mix(qRed(p), qRed(b)), mix(qGreen(p), qGreen(b)), mix(qBlue(p), qBlue(b)));
                if (c == kOlive) c = qRgb(128, 128, 1);
            }
            out.setPixel(x, y, c);
        }
    }
    return out;
}

QString Substitute(QString svg, const StateColours& s, int w, int h, const QString& label) {
    svg.replace("@W@", QString::number(w));
    svg.replace("@H@", QString::number(h));
    svg.replace("@W1@", QString::number(w - 1));
    svg.replace("@H1@", QString::number(h - 1));
    svg.replace("@W3@", QString::number(w - 3));
    svg.replace("@H3@", QString::number(h - 3));
    svg.replace("@CX@", QString::number(w / 2.0));
    svg.replace("@TY@", QString::number(h / 2.0 + 4.5 + s.shift));
    svg.replace("@FACE_TOP@", s.faceTop);
    svg.replace("@FACE_BOTTOM@", s.faceBottom);
    svg.replace("@BORDER@", s.border);
    svg.replace("@INK@", s.ink);
    svg.replace("@HILITE@", s.hilite);
    svg.replace("@SHIFT@", QString::number(s.shift));
    svg.replace("@LABEL@", label.toHtmlEscaped());
    return svg;
}

bool Save(const QImage& image, const QString& path, const char* format, int quality = -1) {
    if (image.isNull() || !image.save(path, format, quality)) {
        std::fprintf(stderr, "render-artwork: cannot write %s\n", qPrintable(path));
        return false;
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    // The tool draws text, which needs a GUI application; no screen is used.
    int qtArgc = 3;
    char arg0[] = "kestrava_render_artwork", arg1[] = "-platform", arg2[] = "offscreen";
    char* qtArgv[] = {arg0, arg1, arg2, nullptr};
    QGuiApplication app(qtArgc, qtArgv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: kestrava_render_artwork <assets folder> <output folder>\n");
        return 2;
    }
    const QDir assets(QString::fromLocal8Bit(argv[1]));
    const QDir out(QString::fromLocal8Bit(argv[2]));
    QDir().mkpath(out.path());

    QFile manifest(assets.filePath("artwork.txt"));
    if (!manifest.open(QIODevice::ReadOnly | QIODevice::Text)) {
        std::fprintf(stderr, "render-artwork: no manifest in %s\n", argv[1]);
        return 1;
    }
    QHash<QString, QImage> pictures;
    bool ok = true;
    QTextStream lines(&manifest);
    while (!lines.atEnd()) {
        const QString line = lines.readLine().trimmed();
        if (line.isEmpty() || line.startsWith('#')) continue;
        const QStringList f = line.split(' ', Qt::SkipEmptyParts);
        const QString kind = f.value(0), name = f.value(1);
        const QString svg = ReadText(assets.filePath(f.value(2)));
        if (svg.isEmpty()) {
            std::fprintf(stderr, "render-artwork: cannot read %s\n", qPrintable(f.value(2)));
            ok = false;
            continue;
        }
        if (kind == "picture" || kind == "png" || kind == "jpeg") {
            const int w = f.value(3).toInt(), h = f.value(4).toInt();
            const QImage drawing = RenderSvg(svg, w, h);
            if (kind == "png") {
                ok &= Save(drawing, out.filePath(name + ".png"), "PNG");
            } else if (kind == "jpeg") {
                QImage flat(w, h, QImage::Format_RGB32);
                flat.fill(Qt::black);
                QPainter(&flat).drawImage(0, 0, drawing);
                ok &= Save(flat, out.filePath(name + ".jpg"), "JPG", 92);
            } else {
                const QImage flat = f.value(5) == "cutout" ? Flatten(drawing, kMagenta)
                                                           : Flatten(drawing, qRgb(0, 0, 0));
                pictures.insert(name, flat);
                ok &= Save(flat, out.filePath(name + ".png"), "PNG");
            }
        } else if (kind == "button") {
            const int x = f.value(3).toInt(), y = f.value(4).toInt();
            const int w = f.value(5).toInt(), h = f.value(6).toInt();
            const auto theme = Themes().find(f.value(7));
            if (theme == Themes().end()) {
                std::fprintf(stderr, "render-artwork: unknown theme %s\n", qPrintable(f.value(7)));
                ok = false;
                continue;
            }
            const QImage behind = pictures.value(f.value(8));
            const QString label = f.mid(9).join(' ');
            const std::pair<const char*, const StateColours*> states[] = {
                {"up", &theme->second.up}, {"down", &theme->second.down}, {"hot", &theme->second.hot}};
            for (const auto& [state, colours] : states) {
                const QImage drawing = RenderSvg(Substitute(svg, *colours, w, h, label), w, h);
                ok &= Save(ButtonPicture(drawing, behind, x, y),
                           out.filePath(name + "-" + state + ".png"), "PNG");
            }
        } else {
            std::fprintf(stderr, "render-artwork: unknown kind %s\n", qPrintable(kind));
            ok = false;
        }
    }
    return ok ? 0 : 1;
}
