// The window's liveness on a 20-megapixel document: the time from an edit to
// the full result drawn, and the frame time while edits arrive 60 times a
// second. Prints one line each; bench/run puts them in its table.
#include "bench/BenchImages.h"
#include "platform/SettingsUserDefaults.h"
#include "ui/BitmapView.h"
#include "ui/DocumentMainWindow.h"
#include "ui/VeloApplication.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QSettings>
#include <QTemporaryDir>
#include <QWindow>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

using velo::DocumentMainWindow;

double millisecondsSince(const QElapsedTimer& clock) {
    return static_cast<double>(clock.nsecsElapsed()) / 1e6;
}

double percentile(std::vector<double> values, double share) {
    std::sort(values.begin(), values.end());
    return values[static_cast<std::size_t>(share * static_cast<double>(values.size() - 1))];
}

// An edit as the colour panel makes it: a new target colour for one row.
void edit(DocumentMainWindow& window, int step) {
    float t = static_cast<float>(step % 50) / 50.0f;
    window.document().setObjectValue(
        velo::Color::colorWithCalibratedRed(0.2f + 0.6f * t, 0.4f, 0.8f - 0.6f * t, 1.0f),
        velo::TableColumn::Target, 0);
}

// Until the view shows the exact full result, then one paint.
double editToFullResult(DocumentMainWindow& window, int step) {
    QElapsedTimer clock;
    clock.start();
    edit(window, step);
    while (!window.imageView().display().isExact()) {
        QApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
        window.imageView().refreshFinishedStripes();
    }
    window.imageView().repaint();
    return millisecondsSince(clock);
}

// Each frame: an edit, what it triggers, and the window's pending paints
// done at once, as the update request the edit asked for would do them (a
// plain repaint() of the view would paint it twice whenever an update
// request had come within the frame, which a real drag never does).
std::vector<double> framesWhileDragging(DocumentMainWindow& window, int frames) {
    std::vector<double> times;
    QElapsedTimer pace;
    pace.start();
    for (int i = 0; i < frames; ++i) {
        QElapsedTimer frame;
        frame.start();
        edit(window, i);
        QApplication::processEvents();
        QEvent paintNow(QEvent::UpdateRequest);
        QApplication::sendEvent(window.windowHandle(), &paintNow);
        times.push_back(millisecondsSince(frame));
        while (pace.elapsed() < (i + 1) * 1000 / 60) {
            QApplication::processEvents(QEventLoop::WaitForMoreEvents, 2);
        }
    }
    return times;
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM",
            qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    QTemporaryDir folder;
    velo::SettingsUserDefaults defaults(folder.path().toStdString());
    QSettings settings(folder.filePath("ui.conf"), QSettings::IniFormat);
    velo::VeloApplication application(defaults, settings);

    auto document = std::make_unique<velo::VeloDocument>();
    auto image = std::make_shared<velo::Image>();
    std::shared_ptr<velo::Bitmap> photo = velo::bench::photoImage();
    image->representations.push_back(velo::ImageRep::fromBitmap(photo));
    image->size = {double(photo->pixelsWide()), double(photo->pixelsHigh())};
    document->setSourceImage(image);
    document->replaceAdjustments(velo::bench::sharedAdjustmentSet('a'), {});
    auto* window = new DocumentMainWindow(std::move(document), application);
    window->resize(1280, 800);
    window->show();
    window->document().waitUntilComplete();
    QApplication::processEvents();

    std::vector<double> latencies;
    for (int i = 0; i < 12; ++i) {
        latencies.push_back(editToFullResult(*window, i));
    }
    std::vector<double> frames = framesWhileDragging(*window, 180);
    QSize shown = window->imageView().size();
    std::printf("window, 20 MP RGB photo, set (a), view %dx%d: edit to full result drawn "
                "median %.0f ms, worst %.0f ms\n",
                shown.width(), shown.height(), percentile(latencies, 0.5),
                percentile(latencies, 1.0));
    std::printf("window, 20 MP RGB photo, set (a), 60 edits/s for 3 s: frame median %.1f ms, "
                "95th percentile %.1f ms, worst %.1f ms\n",
                percentile(frames, 0.5), percentile(frames, 0.95), percentile(frames, 1.0));
    window->document().markUnchanged();
    delete window;
    return 0;
}
