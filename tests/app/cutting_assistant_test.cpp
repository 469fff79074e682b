// View > Cutting Assistant in the real window: the keys step forward and
// back across a tier boundary and the transfer, a click makes a facet
// current, the progress lands in the file beside the design and survives
// closing, a changed design says which progress it reset, Start over clears
// it, spoken steps are offered only where they work and the checklist prints.
#include <sys/stat.h>

#include <filesystem>

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPdfWriter>
#include <QTemporaryDir>
#include <QTest>
#include "widget_test.h"

#include "app/assistant/assistant_stone_view.h"
#include "app/assistant/cutting_assistant.h"
#include "app/brevix_app.h"
#include "app/command_table.h"
#include "app_test_support.h"
#include "assistant/cutting_progress.h"
#include "design/tiers.h"

using namespace brevix;
using namespace brevix::test;

namespace {

CuttingAssistant* assistantOf(CMainFrame& frame) {
    return frame.findChild<CuttingAssistant*>(QStringLiteral("cuttingAssistant"));
}

QString label(CuttingAssistant* a, const char* name) {
    return a->findChild<QLabel*>(QString::fromLatin1(name))->text();
}

void press(CuttingAssistant* a, Qt::Key key, int times = 1) {
    for (int k = 0; k < times; ++k) QTest::keyClick(a, key);
}

// The guide's pictures, when BREVIX_GUIDE_IMAGES names a folder.
void guideImage(QWidget* widget, const QString& name) {
    const QByteArray folder = qgetenv("BREVIX_GUIDE_IMAGES");
    if (folder.isEmpty()) return;
    QApplication::processEvents();
    widget->grab().save(QDir(QString::fromLocal8Bit(folder)).filePath(name));
}

// A copy of a sample in a folder of its own, opened in the window.
QString openCopy(Session& session, const QTemporaryDir& dir, const char* sample) {
    const QString path = dir.filePath(QString::fromLatin1(sample));
    QFile::copy(QStringLiteral(BREVIX_SOURCE_DIR "/samples/") + QString::fromLatin1(sample), path);
    if (!session.doc.files().openDocumentFile(path.toStdString())) return {};
    return path;
}

}  // namespace

class CuttingAssistantTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { installFontSubstitutes(); }

    void keysStepAcrossTiersAndTheTransfer() {
        TemporaryRegistry registry;
        QTemporaryDir dir;
        Session session;
        const QString design = openCopy(session, dir, "round_brilliant.asc");
        QVERIFY(!design.isEmpty());
        QAction* open = session.frame->action(ID_VIEW_CUTTING_ASSISTANT);
        QVERIFY(open && open->isEnabled());
        QCOMPARE(open->shortcut(), QKeySequence(Qt::Key_F9));
        open->trigger();
        CuttingAssistant* a = assistantOf(*session.frame);
        QVERIFY(a && a->isVisible());
        QCOMPARE(label(a, "assistantTitle"), QStringLiteral("Pavilion: G"));
        QCOMPARE(label(a, "assistantSetting"), QStringLiteral("90.00\u00B0\nindex 03"));
        QCOMPARE(label(a, "assistantProgress"), QStringLiteral("Facet 1 of 73    Tier 1 of 7"));
        guideImage(a, QStringLiteral("assistant_round_first.png"));

        // Sixteen girdle facets with three different keys, over into P1.
        press(a, Qt::Key_Space, 6);
        press(a, Qt::Key_Return, 5);
        press(a, Qt::Key_Right, 5);
        QCOMPARE(label(a, "assistantTitle"), QStringLiteral("Pavilion: P1"));
        QCOMPARE(label(a, "assistantSetting"), QStringLiteral("40.75\u00B0\nindex 96"));
        press(a, Qt::Key_Left);
        QCOMPARE(label(a, "assistantTitle"), QStringLiteral("Pavilion: G"));
        QCOMPARE(a->session().cutCount(), 15);
        press(a, Qt::Key_Enter);
        press(a, Qt::Key_T);  // over the rest of P1, marking nothing
        QCOMPARE(label(a, "assistantTitle"), QStringLiteral("Pavilion: P2"));
        QCOMPARE(a->session().cutCount(), 16);
        press(a, Qt::Key_Space, 16);
        QCOMPARE(label(a, "assistantTitle"), QStringLiteral("Transfer the stone"));
        QVERIFY(label(a, "assistantNext").startsWith(QStringLiteral("Next: C1 34.50")));
        press(a, Qt::Key_Space);
        QCOMPARE(label(a, "assistantTitle"), QStringLiteral("Crown: C1"));
        press(a, Qt::Key_Backspace);
        QCOMPARE(label(a, "assistantTitle"), QStringLiteral("Transfer the stone"));
        press(a, Qt::Key_Backspace);
        QCOMPARE(label(a, "assistantSetting"), QStringLiteral("42.00\u00B0\nindex 93"));
        QCOMPARE(a->session().cutCount(), 31);

        // Stored after every step, beside the design.
        const QString progressFile = design + QStringLiteral(".progress");
        QCOMPARE(QString::fromStdString(a->progressPath()), progressFile);
        ProgressReadResult stored = loadProgress(progressFile.toStdString());
        QCOMPARE(stored.error, std::string());
        QCOMPARE(stored.progress.cut.size(), size_t(31));

        // Escape leaves; the assistant opened again goes on where it was.
        press(a, Qt::Key_Escape);
        QVERIFY(!a->isVisible());
        open->trigger();
        QVERIFY(a->isVisible());
        QCOMPARE(label(a, "assistantSetting"), QStringLiteral("42.00\u00B0\nindex 93"));

        // A click on a facet of the pavilion makes it current.
        const int32_t p1 = a->session().plan().steps[19].facets[0];
        QPoint at;
        QVERIFY(a->stoneView()->facetPosition(p1, at));
        QTest::mouseClick(a->stoneView(), Qt::LeftButton, {}, at);
        QCOMPARE(a->session().current(), 19);
        QCOMPARE(label(a, "assistantSetting"), QStringLiteral("40.75\u00B0\nindex 36"));

        // Start over clears the progress and its file.
        a->findChild<QAction*>(QStringLiteral("assistantStartOver"))->trigger();
        QCOMPARE(a->session().cutCount(), 0);
        QVERIFY(!QFile::exists(progressFile));
        QCOMPARE(label(a, "assistantTitle"), QStringLiteral("Pavilion: G"));
    }

    void changedDesignSaysWhatWasReset() {
        TemporaryRegistry registry;
        QTemporaryDir dir;
        Session session;
        QVERIFY(!openCopy(session, dir, "round_brilliant.asc").isEmpty());
        session.frame->action(ID_VIEW_CUTTING_ASSISTANT)->trigger();
        CuttingAssistant* a = assistantOf(*session.frame);
        press(a, Qt::Key_Space, 30);
        QCOMPARE(a->session().cutCount(), 30);
        QVERIFY(!a->findChild<QLabel*>(QStringLiteral("assistantNotice"))->isVisible());

        // P1 deleted in the main window while the assistant is open.
        Stone& stone = *session.doc.stone();
        const int32_t p1 = a->session().plan().steps[16].facets[0];
        deleteTier(stone, stone.facets[p1].tier);
        session.doc.pendingChanged();
        QLabel* notice = a->findChild<QLabel*>(QStringLiteral("assistantNotice"));
        QVERIFY(notice->isVisible());
        QVERIFY2(notice->text().contains(QStringLiteral("progress reset for 8 facets")), qPrintable(notice->text()));
        QVERIFY(notice->text().contains(QStringLiteral("P1 40.75\u00B0 index 96")));
        QCOMPARE(a->session().cutCount(), 22);
        QCOMPARE(a->session().plan().facetCount, 65);
        QCOMPARE(label(a, "assistantProgress"), QStringLiteral("Facet 23 of 65    Tier 2 of 6"));
        press(a, Qt::Key_Space);
        QVERIFY(!notice->isVisible());
    }

    // Two windows on one design keep each other's progress; a pipe or a
    // folder where the progress file belongs is neither waited on nor replaced.
    void twoWindowsAndNoFileWhereTheProgressGoes() {
        TemporaryRegistry registry;
        QTemporaryDir dir;
        Session first, second;
        const QString design = openCopy(first, dir, "round_brilliant.asc");
        QVERIFY(!design.isEmpty());
        QVERIFY(second.doc.files().openDocumentFile(design.toStdString()));
        first.frame->action(ID_VIEW_CUTTING_ASSISTANT)->trigger();
        second.frame->action(ID_VIEW_CUTTING_ASSISTANT)->trigger();
        CuttingAssistant* a = assistantOf(*first.frame);
        CuttingAssistant* b = assistantOf(*second.frame);
        press(a, Qt::Key_Space, 5);
        press(b, Qt::Key_T);  // on to the pavilion mains, marking nothing
        press(b, Qt::Key_Space, 3);
        press(a, Qt::Key_Space);
        const std::string progressFile = (design + QStringLiteral(".progress")).toStdString();
        QCOMPARE(loadProgress(progressFile).progress.cut.size(), size_t(9));
        QCOMPARE(a->session().cutCount(), 9);

        // A pipe in the file's place: F9 opens the assistant at once and it
        // says why it cannot keep the progress; the pipe stays a pipe. A folder
        // of that name likewise.
        QVERIFY(QFile::remove(QString::fromStdString(progressFile)));
        QVERIFY(::mkfifo(progressFile.c_str(), 0600) == 0);
        for (const char* kind : {"pipe", "folder"}) {
            Session third;
            QVERIFY(third.doc.files().openDocumentFile(design.toStdString()));
            third.frame->action(ID_VIEW_CUTTING_ASSISTANT)->trigger();
            CuttingAssistant* c = assistantOf(*third.frame);
            QLabel* notice = c->findChild<QLabel*>(QStringLiteral("assistantNotice"));
            QVERIFY(notice->isVisible());
            QVERIFY2(notice->text().contains(QString::fromLatin1(kind)), qPrintable(notice->text()));
            press(c, Qt::Key_Space);
            QVERIFY2(notice->text().contains(QStringLiteral("not saved")), qPrintable(notice->text()));
            if (std::string(kind) == "pipe") {
                QCOMPARE(std::filesystem::status(progressFile).type(), std::filesystem::file_type::fifo);
                std::filesystem::remove(progressFile);
                std::filesystem::create_directory(progressFile);
            } else {
                QVERIFY(std::filesystem::is_directory(progressFile));
            }
        }
    }

    // Speech that fails once switched on (no sound device, the engine gone)
    // switches itself off and says why, rather than stay ticked and silent.
    void speechThatFailsIsSwitchedOffWithTheReason() {
        TemporaryRegistry registry;
        Session session;
        session.frame->action(ID_VIEW_CUTTING_ASSISTANT)->trigger();
        CuttingAssistant* a = assistantOf(*session.frame);
        QAction* speak = a->findChild<QAction*>(QStringLiteral("assistantSpeak"));
        auto* notice = a->findChild<QLabel*>(QStringLiteral("assistantNotice"));
        QVERIFY(!notice->isVisible());
        speak->setChecked(true);
        a->speechFailed(QStringLiteral("Audio device not found"));
        QVERIFY(!speak->isChecked());
        QVERIFY(notice->isVisible());
        QCOMPARE(notice->text(), QStringLiteral("Speak Steps is switched off: the steps could not be read aloud "
                                                "(Audio device not found)."));
        // Once off, a late report of the same failure changes nothing.
        notice->hide();
        a->speechFailed(QStringLiteral("Audio device not found"));
        QVERIFY(!notice->isVisible());
    }

    // The round brilliant cut through its meets gives no instructions: the
    // assistant shows the meet each tier was placed by, and the transfer
    // counts as a step of its own.
    void recordedMeetsAndTheTransferStep() {
        TemporaryRegistry registry;
        QTemporaryDir dir;
        Session session;
        QVERIFY(!openCopy(session, dir, "round_brilliant_meets.brx").isEmpty());
        session.frame->action(ID_VIEW_CUTTING_ASSISTANT)->trigger();
        CuttingAssistant* a = assistantOf(*session.frame);
        QCOMPARE(label(a, "assistantTitle"), QStringLiteral("Pavilion: G"));
        QCOMPARE(label(a, "assistantInstruction"), QStringLiteral("Mirror partner: index 93"));  // a typed depth
        press(a, Qt::Key_Space, 24);
        QCOMPARE(label(a, "assistantTitle"), QStringLiteral("Pavilion: P2"));
        QCOMPARE(label(a, "assistantInstruction"), QStringLiteral("Meet G 3, G 93, P1 96\nMirror partner: index 93"));
        press(a, Qt::Key_Space, 16);
        QCOMPARE(a->session().currentStep()->kind, StepKind::Transfer);
        QCOMPARE(label(a, "assistantProgress"), QStringLiteral("Step 41 of 74: transfer the stone"));
        guideImage(a, QStringLiteral("assistant_transfer.png"));
    }

    void tierModeSpeechAndChecklist() {
        TemporaryRegistry registry;
        QTemporaryDir dir;
        Session session;
        QVERIFY(!openCopy(session, dir, "oval_brilliant.asc").isEmpty());
        session.frame->action(ID_VIEW_CUTTING_ASSISTANT)->trigger();
        CuttingAssistant* a = assistantOf(*session.frame);

        QAction* speak = a->findChild<QAction*>(QStringLiteral("assistantSpeak"));
        QCOMPARE(speak->isEnabled(), a->speechAvailable());
        if (!a->speechAvailable()) {
            QVERIFY(!a->speechUnavailableReason().isEmpty());
            QCOMPARE(speak->toolTip(), a->speechUnavailableReason());
        } else {
            // Reading a step aloud must not hold up the keys.
            speak->trigger();
            press(a, Qt::Key_Space);
            press(a, Qt::Key_Backspace);
            speak->trigger();
            QCOMPARE(a->session().current(), 0);
        }

        QAction* byTier = a->findChild<QAction*>(QStringLiteral("assistantByTier"));
        byTier->trigger();
        QCOMPARE(a->session().plan().steps.size(), size_t(a->session().plan().tierCount + 1));
        press(a, Qt::Key_Space, 2);
        QVERIFY(label(a, "assistantSetting").contains(QStringLiteral("indexes")));
        byTier->trigger();
        QCOMPARE(a->session().currentStep()->kind, StepKind::Facet);

        const QString pdf = dir.filePath(QStringLiteral("checklist.pdf"));
        {
            QPdfWriter writer(pdf);
            writer.setResolution(300);
            QVERIFY(a->printChecklist(writer));
        }
        QVERIFY(QFileInfo(pdf).size() > 1000);
        const QByteArray folder = qgetenv("BREVIX_GUIDE_IMAGES");
        if (!folder.isEmpty()) QFile::copy(pdf, QDir(QString::fromLocal8Bit(folder)).filePath(QStringLiteral("checklist.pdf")));
    }

    // Not a check: the guide's pictures of both samples at three moments.
    void guidePictures() {
        if (qgetenv("BREVIX_GUIDE_IMAGES").isEmpty()) QSKIP("only for the guide's pictures");
        for (const char* sample : {"round_brilliant.asc", "oval_brilliant.asc"}) {
            TemporaryRegistry registry;
            QTemporaryDir dir;
            Session session;
            QVERIFY(!openCopy(session, dir, sample).isEmpty());
            session.frame->action(ID_VIEW_CUTTING_ASSISTANT)->trigger();
            CuttingAssistant* a = assistantOf(*session.frame);
            a->resize(1100, 760);
            const QString stem = QString::fromLatin1(sample).section(QLatin1Char('_'), 0, 0);
            guideImage(a, QStringLiteral("assistant_%1_first.png").arg(stem));
            const CuttingPlan& plan = a->session().plan();
            int transfer = 0;
            while (plan.steps[transfer].kind != StepKind::Transfer) ++transfer;
            const int midCrown = (transfer + static_cast<int>(plan.steps.size())) / 2;
            while (a->session().current() < midCrown) press(a, Qt::Key_Space);
            guideImage(a, QStringLiteral("assistant_%1_crown.png").arg(stem));
            while (!a->session().finished()) press(a, Qt::Key_Space);
            guideImage(a, QStringLiteral("assistant_%1_end.png").arg(stem));
        }
    }
};

BREVIX_WIDGET_TEST(CuttingAssistantTest)
#include "cutting_assistant_test.moc"
