// A Qt generic plugin that the end-to-end test loads into the installed
// programs (QT_QPA_GENERIC_PLUGINS=brevixautoanswer): it answers every modal
// dialog with its default button once that button is enabled, as a user
// pressing Enter would, and writes what each dialog said to the file
// BREVIX_TEST_ANSWERS names. With BREVIX_TEST_CLOSE_AFTER_MS it closes the
// program's windows after that time, as a user closing the program. With
// BREVIX_TEST_ANSWER_NO it answers message boxes with their escape button.
#include <QApplication>
#include <QDialog>
#include <QFile>
#include <QGenericPlugin>
#include <QLabel>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QTimer>

namespace {

class AutoAnswer : public QObject {
public:
    AutoAnswer() {
        auto* timer = new QTimer(this);
        connect(timer, &QTimer::timeout, this, [this] { tick(); });
        timer->start(50);
        const int closeAfter = qEnvironmentVariableIntValue("BREVIX_TEST_CLOSE_AFTER_MS");
        if (closeAfter > 0) {
            QTimer::singleShot(closeAfter, this, [this] {
                for (QWidget* w : QApplication::topLevelWidgets())
                    if (w->isVisible()) record(QStringLiteral("window"), w, QString());
                QApplication::closeAllWindows();
            });
        }
    }

private:
    void tick() {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal || !modal->isVisible() || answered_.contains(modal)) return;
        if (auto* box = qobject_cast<QMessageBox*>(modal)) {
            QAbstractButton* button = box->defaultButton();
            if (!button || qEnvironmentVariableIsSet("BREVIX_TEST_ANSWER_NO")) button = box->escapeButton();
            record(QStringLiteral("box"), box, box->text());
            answered_.append(modal);
            if (button) button->click();
            return;
        }
        auto* dialog = qobject_cast<QDialog*>(modal);
        if (!dialog) return;
        for (QPushButton* button : dialog->findChildren<QPushButton*>()) {
            if (!button->isDefault() || !button->isEnabled()) continue;
            QString said;
            if (auto* status = dialog->findChild<QLabel*>(QStringLiteral("StatusLine"))) said = status->text();
            if (auto* details = dialog->findChild<QPushButton*>(QStringLiteral("DetailsButton")))
                said += details->isEnabled() ? QStringLiteral("|details on") : QStringLiteral("|details off");
            record(QStringLiteral("dialog"), dialog, said);
            answered_.append(modal);
            button->click();
            return;
        }
    }

    void record(const QString& kind, QWidget* widget, const QString& text) {
        QFile file(qEnvironmentVariable("BREVIX_TEST_ANSWERS"));
        if (!file.open(QIODevice::Append)) return;
        file.write((kind + QLatin1Char(' ') + widget->objectName() + QLatin1Char('|') + widget->windowTitle() +
                    QLatin1Char('|') + text + QLatin1Char('\n'))
                       .toUtf8());
    }

    QList<QPointer<QWidget>> answered_;
};

}  // namespace

class AutoAnswerPlugin : public QGenericPlugin {
    Q_OBJECT
    Q_PLUGIN_METADATA(IID QGenericPluginFactoryInterface_iid FILE "auto_answer_plugin.json")
public:
    QObject* create(const QString&, const QString&) override { return new AutoAnswer; }
};

#include "auto_answer_plugin.moc"
