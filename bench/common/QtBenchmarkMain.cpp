// The one main() of the benchmark programs that paint or read pictures: a Qt application object
// (offscreen unless a platform is named), no cap on the size of a picture Qt will read, then
// Google Benchmark.
#include <QApplication>
#include <QImageReader>
#include <benchmark/benchmark.h>

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QImageReader::setAllocationLimit(0);
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
