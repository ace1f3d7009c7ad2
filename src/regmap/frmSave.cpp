#include "regmap/frmSave.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyleOptionButton>
#include <QStylePainter>
#include <QVBoxLayout>
#include <algorithm>

#include "core/General.h"
#include "core/USBStuff.h"
#include "regmap/SettingsFile.h"

namespace kestrum {

namespace {

// Holds the master timer off while the chip's registers travel to or from a file, so
// that no periodic read interleaves with them; it runs again on every way out.
class MasterTimerPause {
public:
    MasterTimerPause() { Switch(false); }
    ~MasterTimerPause() { Switch(true); }
    MasterTimerPause(const MasterTimerPause&) = delete;
    MasterTimerPause& operator=(const MasterTimerPause&) = delete;

private:
    static void Switch(bool on) {
        if (gMasterTimer != nullptr) gMasterTimer->SetEnabled(on);
    }
};

void ShowProblem(const std::string& text) {
    Messages().Show(text, MsgButtons::OK, MsgIcon::Exclamation, kAppTitle);
}

// A check box whose text wraps onto further lines instead of widening the window.
class WrappingCheckBox final : public QCheckBox {
public:
    WrappingCheckBox(const QString& text, QWidget* parent) : QCheckBox(text, parent) {
        // Grows downwards: the layout asks heightForWidth for the width it gives.
        QSizePolicy policy(QSizePolicy::Preferred, QSizePolicy::Minimum);
        policy.setHeightForWidth(true);
        setSizePolicy(policy);
    }

    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override {
        const QRect text =
            fontMetrics().boundingRect(QRect(0, 0, TextWidth(width), 0), kTextFlags, this->text());
        return std::max(text.height(), IndicatorSize().height());
    }
    QSize sizeHint() const override {
        const int width = IndicatorSize().width() + Spacing() + fontMetrics().horizontalAdvance(text());
        return {width, heightForWidth(width)};
    }
    QSize minimumSizeHint() const override {
        const int width = IndicatorSize().width() + Spacing() + fontMetrics().averageCharWidth() * 12;
        return {width, heightForWidth(width)};
    }

protected:
    bool hitButton(const QPoint& pos) const override { return rect().contains(pos); }

    void paintEvent(QPaintEvent*) override {
        QStylePainter painter(this);
        QStyleOptionButton option;
        initStyleOption(&option);
        const QSize indicator = IndicatorSize();
        const int lineHeight = fontMetrics().height();
        option.rect = QRect(QPoint(0, std::max(0, (lineHeight - indicator.height()) / 2)), indicator);
        painter.drawPrimitive(QStyle::PE_IndicatorCheckBox, option);

        const QRect textRect(indicator.width() + Spacing(), 0, TextWidth(width()), height());
        painter.drawItemText(textRect, kTextFlags, palette(), isEnabled(), text(), QPalette::WindowText);
        if (hasFocus()) {
            QStyleOptionFocusRect focus;
            focus.initFrom(this);
            focus.rect = fontMetrics().boundingRect(textRect, kTextFlags, text());
            painter.drawPrimitive(QStyle::PE_FrameFocusRect, focus);
        }
    }

private:
    static constexpr int kTextFlags = Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap;

    QSize IndicatorSize() const {
        return {style()->pixelMetric(QStyle::PM_IndicatorWidth, nullptr, this),
                style()->pixelMetric(QStyle::PM_IndicatorHeight, nullptr, this)};
    }
    int Spacing() const { return style()->pixelMetric(QStyle::PM_CheckBoxLabelSpacing, nullptr, this); }
    int TextWidth(int width) const { return std::max(1, width - IndicatorSize().width() - Spacing()); }
};

}  // namespace

frmSave::frmSave(QWidget* parent) : ChildWindow(parent) {
    fraFileIO = new QGroupBox("File I/O", this);
    lblComment = new QLabel("Add Comment", fraFileIO);
    txtComment = new QLineEdit(fraFileIO);
    lblComment->setBuddy(txtComment);
    chkNotDefaults = new WrappingCheckBox("Only save registers that differ from their defaults ", fraFileIO);
    cmdsave = new QPushButton("Save  Current Configuration", fraFileIO);
    cmdRecall = new QPushButton("Recall Previous Configuration", fraFileIO);
    cmdClose = new QPushButton("Close", this);

    auto* frame = new QVBoxLayout(fraFileIO);
    frame->addWidget(lblComment);
    frame->addWidget(txtComment);
    frame->addSpacing(6);
    frame->addWidget(chkNotDefaults);
    frame->addStretch();
    frame->addWidget(cmdsave);
    frame->addWidget(cmdRecall);

    auto* closeRow = new QHBoxLayout;
    closeRow->addStretch();
    closeRow->addWidget(cmdClose);

    auto* window = new QVBoxLayout(this);
    window->addWidget(fraFileIO, 1);
    window->addLayout(closeRow);

    connect(cmdsave, &QPushButton::clicked, this, &frmSave::cmdsave_Click);
    connect(cmdRecall, &QPushButton::clicked, this, &frmSave::cmdRecall_Click);
    connect(cmdClose, &QPushButton::clicked, this, &frmSave::cmdClose_Click);
}

void frmSave::Form_Load() {
    setWindowTitle("Save/Recall Settings");
    SetSizeTwips(4350, 5880);
}

void frmSave::cmdsave_Click() {
    std::string text = SettingsFileHeader(txtComment->text().toStdString());
    {
        // Only while the chip is read: logging goes on while the user picks a name.
        MasterTimerPause pause;
        text += SettingsFileRegisters(chkNotDefaults->isChecked());
    }
    const auto path = Dialogs().SaveFile(SettingsFileRequest(true));
    if (!path || path->empty()) return;
    if (!WriteSettingsFile(*path, text)) {
        ShowProblem(SaveFailedText(*path));
        return;
    }
    Unload();
}

void frmSave::cmdRecall_Click() {
    const auto path = Dialogs().OpenFile(SettingsFileRequest(false));
    if (!path || path->empty()) return;
    const auto bytes = ReadSettingsFile(*path);
    if (!bytes) {
        ShowProblem(ReadFailedText(*path));
        return;
    }
    RecallResult result;
    {
        MasterTimerPause pause;
        result = RecallSettings(
            *bytes, [](int32_t reg, int32_t value) { WriteRegister(gDeviceAddress, reg, value); });
    }
    if (const std::string report = RecallReport(result); !report.empty()) ShowProblem(report);
}

void frmSave::cmdClose_Click() { Unload(); }

}  // namespace kestrum
