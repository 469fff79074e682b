// The message boxes: one box per text for each thing the user does, even
// when the core says it once per facet, and the same text again for the
// next thing the user does.
#include <QApplication>
#include <QMessageBox>
#include <QTest>
#include "widget_test.h"
#include <QTimer>

#include "app/message_box_sink.h"

using namespace brevix;

namespace {

// Presses OK on every message box that comes up, and counts them.
class BoxCloser {
public:
    int boxes = 0;
    BoxCloser() {
        timer_.setInterval(5);
        QObject::connect(&timer_, &QTimer::timeout, [this] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                ++boxes;
                box->done(QMessageBox::Yes);
            }
        });
        timer_.start();
    }

private:
    QTimer timer_;
};

}  // namespace

class MessageBoxSinkTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void eachTextOnceForEachThingTheUserDoes() {
        MessageBoxSink sink;
        BoxCloser closer;
        // One command: the cut list asks every facet's index of a zero gear.
        for (int facet = 0; facet < 146; ++facet) sink.show("Zero index gear", Icon::Warning);
        QCOMPARE(closer.boxes, 1);
        sink.show("File has a preform", Icon::Information);
        QCOMPARE(closer.boxes, 2);
        // Questions are always asked.
        QCOMPARE(sink.ask("Keep?", Buttons::YesNo, Icon::Question, Answer::No), Answer::Yes);
        QCOMPARE(sink.ask("Keep?", Buttons::YesNo, Icon::Question, Answer::No), Answer::Yes);
        QCOMPARE(closer.boxes, 4);
        sink.show("Zero index gear", Icon::Warning);
        QCOMPARE(closer.boxes, 4);

        // Back to waiting for the user: the next command tells it again.
        QCoreApplication::processEvents();
        sink.show("Zero index gear", Icon::Warning);
        QCOMPARE(closer.boxes, 5);
    }
};

BREVIX_WIDGET_TEST(MessageBoxSinkTest)
#include "message_box_sink_test.moc"
