// The progress gauge during a download: a 10 MB installer arrives in 2048-byte blocks and the
// gauge is told each block. It repaints only when the whole percentage changes; the baseline
// repaints on every block. A single paint is also set against a plain painter drawing of the
// same bar (no off-screen pictures, no XOR), the floor for one paint.
#include "controls/Gauge.h"

#include <QApplication>
#include <QPainter>
#include <benchmark/benchmark.h>

namespace {

constexpr int DownloadBytes = 10 * 1024 * 1024;
constexpr int BlockBytes = 2048;

class CountingGauge : public Gauge {
public:
    int paints = 0;

protected:
    void paintEvent(QPaintEvent* e) override {
        ++paints;
        Gauge::paintEvent(e);
    }
};

void Download(benchmark::State& state, bool repaintEveryBlock) {
    CountingGauge gauge;
    gauge.resize(400, 24);
    gauge.setMaxValue(DownloadBytes);
    gauge.show();
    QApplication::processEvents();
    int paints = 0;
    for (auto _ : state) {
        gauge.setProgress(0);
        gauge.paints = 0;
        for (int received = 0; received <= DownloadBytes; received += BlockBytes) {
            gauge.setProgress(received);
            if (repaintEveryBlock)
                gauge.repaint();
        }
        paints = gauge.paints;
    }
    state.counters["paints"] = paints;
    state.counters["blocks"] = DownloadBytes / BlockBytes;
}

void BM_DownloadProgress(benchmark::State& state) {
    Download(state, false);
}
void BM_DownloadProgress_RepaintEveryBlock(benchmark::State& state) {
    Download(state, true);
}

void BM_GaugePaint_BarWithText(benchmark::State& state) {
    Gauge gauge;
    gauge.resize(400, 24);
    gauge.setProgress(42);
    for (auto _ : state)
        benchmark::DoNotOptimize(gauge.renderImage());
}

void BM_PlainPainterBar(benchmark::State& state) {
    QFont font;
    for (auto _ : state) {
        QImage image(400, 24, QImage::Format_RGB32);
        image.fill(Qt::black);
        QPainter p(&image);
        p.fillRect(1, 1, 398, 22, Qt::white);
        p.fillRect(1, 1, 167, 22, Qt::black);
        p.setFont(font);
        p.setPen(Qt::gray);
        p.drawText(QRect(1, 1, 398, 22), Qt::AlignCenter, QStringLiteral("42%"));
        p.end();
        benchmark::DoNotOptimize(image);
    }
}

BENCHMARK(BM_DownloadProgress)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DownloadProgress_RepaintEveryBlock)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GaugePaint_BarWithText)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PlainPainterBar)->Unit(benchmark::kMicrosecond);

} // namespace
