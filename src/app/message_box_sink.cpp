#include "app/message_box_sink.h"

#include <QApplication>
#include <QFile>
#include <QMessageBox>

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

void MessageBoxSink::show(std::string_view text, Icon icon) {
    QMessageBox box(boxIcon(icon), title(), fromCore(text), QMessageBox::Ok, parent_);
    box.exec();
}

Answer MessageBoxSink::ask(std::string_view text, Buttons buttons, Icon icon, Answer) {
    QMessageBox::StandardButtons set = QMessageBox::Ok;
    if (buttons == Buttons::YesNo)
        set = QMessageBox::Yes | QMessageBox::No;
    else if (buttons == Buttons::YesNoCancel)
        set = QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    QMessageBox box(boxIcon(icon), title(), fromCore(text), set, parent_);
    switch (box.exec()) {
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
