// Printing the layout to a 600-dpi A4 PDF with a 24-megapixel (6000 x 4000) front photo: the
// sharp print (template, spine text and front drawn at the printer's resolution, the front from
// the photo's own pixels) beside the plain stretch of the 845 x 1188 canvas, in the same run.
// Each reports its time and the size of the PDF it wrote.
#include "cover/CoverLayout.h"
#include "platform/Canvas.h"
#include "print/PrintPreview.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QImageWriter>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

// A photo-like 6000 x 4000 JPEG: gradients, a pattern and some noise, made once.
QString photoFile() {
    static const QString file = [] {
        const QString path =
            QDir::tempPath() + QStringLiteral("/sleevix-print-bench-6000x4000.jpg");
        if (QFile::exists(path))
            return path;
        const int w = 6000, h = 4000;
        QImage image(w, h, QImage::Format_RGB32);
        QRandomGenerator random(7);
        for (int y = 0; y < h; ++y) {
            QRgb* line = reinterpret_cast<QRgb*>(image.scanLine(y));
            for (int x = 0; x < w; ++x) {
                const int n = int(random.bounded(8)) + ((x / 40 + y / 40) % 2) * 12;
                line[x] = qRgb((x * 255 / w + n) & 0xff, (y * 255 / h + n) & 0xff,
                               ((x + y) * 127 / (w + h) + 64 + n) & 0xff);
            }
        }
        QImageWriter writer(path, "jpeg");
        writer.setQuality(90);
        writer.write(image);
        return path;
    }();
    return file;
}

const PrintSource& source() {
    static const PrintSource s = [] {
        PrintSource s;
        s.canvas = Layout::newLayoutImage(845);
        Canvas canvas(&s.canvas);
        Layout::drawTemplate(canvas);
        s.front.loadFromFile(photoFile(), Layout::FrontRect.size());
        canvas.stretchDraw(Layout::FrontRect, s.front.image());
        QImage back(552, 472, QImage::Format_RGB32);
        back.fill(Qt::white);
        Layout::stampProductName(back, QStringLiteral("Sleevix"));
        s.back.setImage(back);
        canvas.stretchDraw(Layout::BackRect, back);
        s.spineText = QStringLiteral("Velmora - Last Rose Of Summer 2002");
        Layout::drawSpineText(canvas, s.spineText, s.leftSpine, s.rightSpine);
        return s;
    }();
    return s;
}

void printPdf(benchmark::State& state, PrintMode mode) {
    const PrintSource& s = source();
    QTemporaryDir dir;
    const QString file = dir.path() + QStringLiteral("/layout.pdf");
    for (auto _ : state) {
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(file);
        printer.setPageSize(QPageSize(QPageSize::A4));
        printer.setResolution(600);
        printLayoutOn(printer, s, 96, 96, 1.0, mode);
    }
    state.counters["pdf_MB"] = double(QFile(file).size()) / 1e6;
}

void BM_PrintStretchCanvas(benchmark::State& state) {
    printPdf(state, PrintMode::Stretch);
}
void BM_PrintSharp(benchmark::State& state) {
    printPdf(state, PrintMode::Sharp);
}

BENCHMARK(BM_PrintStretchCanvas)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_PrintSharp)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace
