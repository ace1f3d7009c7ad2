#include "app/frmAbout.h"

#include <QHBoxLayout>
#include <QMouseEvent>
#include <QVBoxLayout>

#include "core/Conversions.h"
#include "core/General.h"
#include "core/Twips.h"
#include "platform/Seams.h"
#include "widgets/Controls.h"

namespace kestrum {

namespace {

constexpr int kWidthTwips = 6300;
constexpr int kHeightTwips = 3150;
// The window sits this far above the middle of the main window.
constexpr double kRaiseTwips = 1500;

const QColor kLinkColour(0, 0, 192);
const QColor kVisitedLinkColour(128, 0, 128);

QLabel* CentredLabel(const QString& text, QWidget& parent) {
    auto* label = new QLabel(text, &parent);
    label->setAlignment(Qt::AlignCenter);
    label->setWordWrap(true);
    return label;
}

QFont BoldFont(const QFont& base, double points, bool underline = false) {
    QFont font = base;
    font.setPointSizeF(points);
    font.setBold(true);
    font.setUnderline(underline);
    return font;
}

}  // namespace

frmAbout::frmAbout(QWidget* parent) : ChildWindow(parent) {
    setObjectName("frmAbout");
    setWindowTitle("About the  Kestrum Software");

    Frame1 = NewFrame(this, "Frame1");
    Label1 = CentredLabel(QString(), *Frame1);
    Label1->setFont(BoldFont(Label1->font(), 9.75));
    Label2 = CentredLabel("Copyright Tarnwell Silicon. All rights reserved.", *Frame1);
    Label5 = CentredLabel("Visit the Tarnwell Silicon website at", *Frame1);
    Label6 = CentredLabel(kMakerWebAddress, *Frame1);
    Label6->setFont(BoldFont(Label6->font(), 8.25, true));
    Label6->setCursor(Qt::PointingHandCursor);
    Label6->installEventFilter(this);
    SetLinkColour(kLinkColour);

    auto* frameLayout = new QVBoxLayout(Frame1);
    frameLayout->setContentsMargins(kInnerMargins);
    frameLayout->setSpacing(8);
    frameLayout->addWidget(Label1);
    frameLayout->addWidget(Label2);
    frameLayout->addSpacing(6);
    frameLayout->addWidget(Label5);
    frameLayout->addWidget(Label6);
    Label1->setObjectName("Label1");
    Label2->setObjectName("Label2");
    Label5->setObjectName("Label5");
    Label6->setObjectName("Label6");

    cmdOK = NewButton(this, "cmdOK", "OK");
    cmdOK->setDefault(true);
    connect(cmdOK, &QPushButton::clicked, this, &frmAbout::cmdOK_Click);

    auto* buttons = new QHBoxLayout();
    buttons->addStretch();
    buttons->addWidget(cmdOK);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(kWindowMargins);
    layout->addWidget(Frame1, 1);
    layout->addLayout(buttons);
}

void frmAbout::Form_Load() {
    SetSizeTwips(kWidthTwips, kHeightTwips);
    const double mainWidth = Manager().MainWidthTwips();
    const double mainHeight = Manager().MainHeightTwips();
    SetPositionTwips(RoundToInt32(mainWidth / 2 - WidthTwips() / 2.0),
                     RoundToInt32(mainHeight / 2 - HeightTwips() / 2.0 - kRaiseTwips));
    Label1->setText(QString::fromStdString("Kestrum Evaluation Software Version " + ProgramVersion()));
}

void frmAbout::Label6_Click() {
    // Whether the shell could open the page is not reported; the link counts as visited.
    DesktopShell().Open(kMakerWebAddress);
    SetLinkColour(kVisitedLinkColour);
}

void frmAbout::cmdOK_Click() { Unload(); }

bool frmAbout::eventFilter(QObject* watched, QEvent* event) {
    if (watched == Label6 && event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        Label6_Click();
        return true;
    }
    return ChildWindow::eventFilter(watched, event);
}

void frmAbout::SetLinkColour(const QColor& colour) {
    QPalette palette = Label6->palette();
    palette.setColor(QPalette::WindowText, colour);
    Label6->setPalette(palette);
}

}  // namespace kestrum
