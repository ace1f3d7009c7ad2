#include "app/QtSeams.h"

#include <QApplication>
#include <QDate>
#include <QDesktopServices>
#include <QFileDialog>
#include <QFontMetrics>
#include <QLocale>
#include <QMessageBox>
#include <QTime>
#include <QUrl>
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <thread>

namespace kestrum {

namespace {

QMessageBox::Icon ToQt(MsgIcon icon) {
    switch (icon) {
        case MsgIcon::Critical: return QMessageBox::Critical;
        case MsgIcon::Exclamation: return QMessageBox::Warning;
        case MsgIcon::Information: return QMessageBox::Information;
        case MsgIcon::None: break;
    }
    return QMessageBox::NoIcon;
}

std::optional<std::string> RunFileDialog(const FileDialogRequest& request, QFileDialog::AcceptMode mode) {
    QFileDialog dialog(QApplication::activeWindow(), QString(),
                       QString::fromStdString(request.initialDirectory),
                       QString::fromStdString(QtNameFilter(request.filter)));
    dialog.setAcceptMode(mode);
    dialog.setFileMode(mode == QFileDialog::AcceptSave ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, !request.confirmOverwrite);
    if (!request.defaultExtension.empty())
        dialog.setDefaultSuffix(QString::fromStdString(request.defaultExtension));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    return dialog.selectedFiles().constFirst().toStdString();
}

// The widest of the texts considered, each with every digit the widest of its script's ten.
struct Widest {
    explicit Widest(const QFontMetrics& fontMetrics) : metrics(fontMetrics) {}
    void Consider(QString candidate) {
        for (QChar& c : candidate) {
            if (!c.isDigit()) continue;
            const auto zero = static_cast<char16_t>(c.unicode() - c.digitValue());
            for (char16_t digit = zero; digit < zero + 10; ++digit)
                if (metrics.horizontalAdvance(QChar(digit)) > metrics.horizontalAdvance(c)) c = QChar(digit);
        }
        const int candidateWidth = metrics.horizontalAdvance(candidate);
        if (candidateWidth <= width) return;
        width = candidateWidth;
        text = candidate;
    }
    const QFontMetrics& metrics;
    QString text;
    int width = -1;
};

}  // namespace

MsgAnswer QtMessageBoxes::Show(const std::string& text, MsgButtons buttons, MsgIcon icon,
                               const std::string& caption, const std::string& details) {
    QMessageBox box(ToQt(icon), QString::fromStdString(caption), QString::fromStdString(text),
                    buttons == MsgButtons::YesNo ? QMessageBox::Yes | QMessageBox::No : QMessageBox::Ok,
                    QApplication::activeWindow());
    if (!details.empty()) box.setDetailedText(QString::fromStdString(details));
    const int answer = box.exec();
    if (buttons == MsgButtons::OK) return MsgAnswer::OK;
    return answer == QMessageBox::Yes ? MsgAnswer::Yes : MsgAnswer::No;
}

std::optional<std::string> QtFileDialogs::SaveFile(const FileDialogRequest& request) {
    return RunFileDialog(request, QFileDialog::AcceptSave);
}

std::optional<std::string> QtFileDialogs::OpenFile(const FileDialogRequest& request) {
    return RunFileDialog(request, QFileDialog::AcceptOpen);
}

void QtClock::Nap(float ms) {
    std::this_thread::sleep_for(std::chrono::microseconds(std::lround(ms * 1000.0f)));
}

std::string QtClock::DateText() { return DateTextOf(QDate::currentDate()).toStdString(); }

std::string QtClock::TimeText() { return TimeTextOf(QTime::currentTime()).toStdString(); }

QString DateTextOf(QDate date) { return QLocale::system().toString(date, QLocale::ShortFormat); }

QString TimeTextOf(QTime time) {
    // The long format, without the time zone it carries in some locales.
    QString format = QLocale::system().timeFormat(QLocale::LongFormat);
    format.remove(QLatin1Char('t'));
    return QLocale::system().toString(time, format.trimmed());
}

QString WidestDateText(const QFontMetrics& metrics) {
    // Every month, and a week of two-digit days for every weekday's name.
    Widest widest(metrics);
    for (int month = 1; month <= 12; ++month)
        for (int day = 22; day <= 28; ++day) widest.Consider(DateTextOf(QDate(2000, month, day)));
    return widest.text;
}

QString WidestTimeText(const QFontMetrics& metrics) {
    Widest widest(metrics);
    for (int hour = 0; hour < 24; ++hour) widest.Consider(TimeTextOf(QTime(hour, 59, 59)));
    return widest.text;
}

void QtProgramEnd::Exit(int status) {
    std::fflush(nullptr);
    std::_Exit(status);
}

void QtShell::Open(const std::string& address) {
    QDesktopServices::openUrl(QUrl(QString::fromStdString(address)));
}

std::string QtNameFilter(const std::string& filter) { return filter.substr(0, filter.find('|')); }

}  // namespace kestrum
