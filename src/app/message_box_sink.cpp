#include "app/message_box_sink.h"

#include <QApplication>
#include <QFile>
#include <QMessageBox>
#include <QTimer>

#include "platform/text_encoding.h"

namespace brevix {

namespace {

QMessageBox::Icon boxIcon(Icon icon) {
    switch (icon) {
    case Icon::Information: return QMessageBox::Information;
    case Icon::Warning: return QMessageBox::Warning;
    case Icon::Error: return QMessageBox::Critical;
    case Icon::Question: return QMessageBox::Question;
    case Icon::None: break;
    }
    return QMessageBox::NoIcon;
}

QString title() {
    const QString name = QApplication::applicationName();
    return name.isEmpty() ? QStringLiteral("Brevix") : name;
}

}  // namespace

QString fromCore(std::string_view bytes) { return QString::fromStdString(cp1252ToUtf8(bytes)); }

std::string toCore(const QString& text) { return utf8ToCp1252(text.toStdString()); }

QString fromPath(const std::string& path) { return QFile::decodeName(QByteArray::fromStdString(path)); }

std::string toPath(const QString& path) { return QFile::encodeName(path).toStdString(); }

void MessageBoxSink::noteShown(std::string_view text) {
    shown_.emplace(text);
    if (endArmed_) return;
    endArmed_ = true;
    QTimer::singleShot(0, &timerContext_, [this] { endOfAction(); });
}

void MessageBoxSink::endOfAction() {
    // Still inside a box of ours: the action that showed it is not over
    // until the box is closed and the action has run to its end.
    if (openBoxes_ > 0) {
        endWaiting_ = true;
        return;
    }
    endArmed_ = false;
    shown_.clear();
}

int MessageBoxSink::runBox(const std::function<int()>& exec) {
    ++openBoxes_;
    const int result = exec();
    --openBoxes_;
    if (openBoxes_ == 0 && endWaiting_) {
        endWaiting_ = false;
        QTimer::singleShot(0, &timerContext_, [this] { endOfAction(); });
    }
    return result;
}

void MessageBoxSink::show(std::string_view text, Icon icon) {
    if (shown_.contains(text)) return;
    noteShown(text);
    QMessageBox box(boxIcon(icon), title(), fromCore(text), QMessageBox::Ok, parent_);
    runBox([&] { return box.exec(); });
}

Answer MessageBoxSink::ask(std::string_view text, Buttons buttons, Icon icon, Answer) {
    QMessageBox::StandardButtons set = QMessageBox::Ok;
    if (buttons == Buttons::YesNo)
        set = QMessageBox::Yes | QMessageBox::No;
    else if (buttons == Buttons::YesNoCancel)
        set = QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    QMessageBox box(boxIcon(icon), title(), fromCore(text), set, parent_);
    switch (runBox([&] { return box.exec(); })) {
    case QMessageBox::Yes: return Answer::Yes;
    case QMessageBox::No: return Answer::No;
    case QMessageBox::Cancel: return Answer::Cancel;
    default: break;
    }
    // Closing a Yes/No/Cancel box with Escape or the title bar's button means Cancel.
    return buttons == Buttons::Ok ? Answer::Ok
           : buttons == Buttons::YesNoCancel ? Answer::Cancel
                                             : Answer::No;
}

}  // namespace brevix
