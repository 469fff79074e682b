// The gallery of a folder of 1000 generated designs: how long until its
// tiles are on the screen (names, at once), and until every tile has its
// facts and picture. Needs the Qt build.
#include <QApplication>
#include <QListView>
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>
#include <memory>

#include "app/gallery/gallery_model.h"
#include "app/gallery/gallery_window.h"
#include "support/generated_designs.h"

namespace {

namespace fs = std::filesystem;
using namespace brevix;

const QString& thousandDesigns() {
    static const QString folder = [] {
        const fs::path path = fs::temp_directory_path() / ("brevix-bench-gallery-" + std::to_string(::getpid()));
        testing::writeGeneratedDesigns(path, 1000);
        return QString::fromStdString(path.string());
    }();
    return folder;
}

QString cacheFolder() {
    return QString::fromStdString((fs::temp_directory_path() / ("brevix-bench-cache-" + std::to_string(::getpid()))).string());
}

void BM_GalleryTilesShown1000(benchmark::State& state) {
    const QString& folder = thousandDesigns();
    for (auto _ : state) {
        auto window = std::make_unique<GalleryWindow>(folder, GalleryWindow::OpenDesign{}, nullptr, cacheFolder());
        window->show();
        // The first paint of the tiles in view.
        const QPixmap shown = window->view()->viewport()->grab();
        benchmark::DoNotOptimize(shown);
        state.PauseTiming();
        window.reset();  // gives up the scan
        state.ResumeTiming();
    }
}
BENCHMARK(BM_GalleryTilesShown1000)->Iterations(1)->Repetitions(5)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_GalleryTilesFilled1000(benchmark::State& state) {
    const QString& folder = thousandDesigns();
    for (auto _ : state) {
        GalleryWindow window(folder, {}, nullptr, cacheFolder());
        window.show();
        const auto filled = [&] {
            for (const GalleryTile& t : window.model()->tiles())
                if (!t.read) return false;
            return true;
        };
        while (!filled()) QApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
        window.view()->viewport()->grab();
    }
}
BENCHMARK(BM_GalleryTilesFilled1000)->Iterations(1)->Repetitions(3)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
