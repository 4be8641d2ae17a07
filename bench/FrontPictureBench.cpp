// Loading a 6000 x 4000 camera photo as the front picture: the program's scaled DCT decode and
// stretch into the front square, against Qt's own scaled JPEG reader (the fair baseline), Qt's
// full decode and scale, and djpeg -scale 1/8 as the floor (a process, so its start costs count
// too).
#include "cover/CoverLayout.h"
#include "platform/Canvas.h"
#include "platform/Picture.h"

#include <QDir>
#include <QFile>
#include <QImageReader>
#include <QProcess>
#include <QRandomGenerator>
#include <QStandardPaths>
#include <benchmark/benchmark.h>

#include <cstdio>
#include <jpeglib.h>

namespace {

// A photo-like 6000 x 4000 JPEG (smooth gradients, a pattern and some sensor noise), made once;
// with a restart marker at every row of blocks, as many cameras write them, or without.
QString photoFile(bool restarts) {
    static QString files[2];
    QString& file = files[restarts ? 1 : 0];
    if (!file.isEmpty())
        return file;
    file = [restarts] {
        const QString path =
            QDir::tempPath() + (restarts ? QStringLiteral("/sleevix-bench-6000x4000-rst.jpg")
                                         : QStringLiteral("/sleevix-bench-6000x4000-v2.jpg"));
        if (QFile::exists(path))
            return path;
        const int w = 6000, h = 4000;
        jpeg_compress_struct info;
        jpeg_error_mgr error;
        info.err = jpeg_std_error(&error);
        jpeg_create_compress(&info);
        FILE* out = std::fopen(path.toLocal8Bit().constData(), "wb");
        jpeg_stdio_dest(&info, out);
        info.image_width = w;
        info.image_height = h;
        info.input_components = 3;
        info.in_color_space = JCS_RGB;
        jpeg_set_defaults(&info);
        jpeg_set_quality(&info, 90, TRUE);
        info.restart_in_rows = restarts ? 1 : 0;
        jpeg_start_compress(&info, TRUE);
        std::vector<unsigned char> row(w * 3);
        QRandomGenerator random(42);
        while (info.next_scanline < info.image_height) {
            const int y = int(info.next_scanline);
            for (int x = 0; x < w; ++x) {
                const int n = int(random.bounded(8)) + ((x / 40 + y / 40) % 2) * 12;
                row[3 * x] = uchar((x * 255 / w + n) & 0xff);
                row[3 * x + 1] = uchar((y * 255 / h + n) & 0xff);
                row[3 * x + 2] = uchar(((x + y) * 127 / (w + h) + 64 + n) & 0xff);
            }
            JSAMPROW rows[] = {row.data()};
            jpeg_write_scanlines(&info, rows, 1);
        }
        jpeg_finish_compress(&info);
        std::fclose(out);
        jpeg_destroy_compress(&info);
        return path;
    }();
    return file;
}

void BM_SleevixScaledDecodeAndStretch(benchmark::State& state) {
    const QString file = photoFile(state.range(0) != 0);
    QImage layout = Layout::newLayoutImage(845);
    for (auto _ : state) {
        Picture picture;
        picture.loadFromFile(file, Layout::FrontRect.size());
        Canvas canvas(&layout);
        canvas.stretchDraw(Layout::FrontRect, picture.image());
        benchmark::DoNotOptimize(layout.bits());
    }
}

void BM_NaiveQtFullDecodeAndScale(benchmark::State& state) {
    const QString file = photoFile(state.range(0) != 0);
    QImage layout = Layout::newLayoutImage(845);
    for (auto _ : state) {
        QImageReader reader(file);
        reader.setAllocationLimit(0);
        const QImage full = reader.read();
        Canvas canvas(&layout);
        canvas.stretchDraw(Layout::FrontRect, full);
        benchmark::DoNotOptimize(layout.bits());
    }
}

// What one would write with Qt alone: its JPEG reader asked for the front's size, which lets
// libjpeg decode at a reduced scale before Qt smooths it to that size.
void BM_QtScaledReaderAndStretch(benchmark::State& state) {
    const QString file = photoFile(state.range(0) != 0);
    QImage layout = Layout::newLayoutImage(845);
    for (auto _ : state) {
        QImageReader reader(file);
        reader.setScaledSize(Layout::FrontRect.size());
        const QImage scaled = reader.read();
        Canvas canvas(&layout);
        canvas.stretchDraw(Layout::FrontRect, scaled);
        benchmark::DoNotOptimize(layout.bits());
    }
}

void BM_DjpegScaleEighthProcess(benchmark::State& state) {
    const QString file = photoFile(state.range(0) != 0);
    const QString djpeg = QStandardPaths::findExecutable(QStringLiteral("djpeg"));
    if (djpeg.isEmpty()) {
        state.SkipWithError("djpeg not installed (libjpeg-turbo-progs)");
        return;
    }
    for (auto _ : state) {
        QProcess process;
        process.setStandardOutputFile(QProcess::nullDevice());
        process.start(djpeg, {QStringLiteral("-scale"), QStringLiteral("1/8"), file});
        process.waitForFinished(-1);
    }
}

// Argument: 1 for the photo with restart markers, 0 for the one without.
BENCHMARK(BM_SleevixScaledDecodeAndStretch)
    ->Arg(1)
    ->Arg(0)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK(BM_NaiveQtFullDecodeAndScale)
    ->Arg(1)
    ->Arg(0)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK(BM_QtScaledReaderAndStretch)
    ->Arg(1)
    ->Arg(0)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK(BM_DjpegScaleEighthProcess)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
