#include "app/frmSplash.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

#include "app/Pictures.h"
#include "core/General.h"
#include "core/Twips.h"
#include "widgets/Brand.h"

namespace kestrum {

namespace {

constexpr int kWidthTwips = 7200;
constexpr int kHeightTwips = 3300;
constexpr int kLeftTwips = 2000;
constexpr int kTopTwips = 2000;
constexpr int kBarHeight = 14;

const QColor& kAccent = kBrandBlue;
const QColor& kAccentLight = kBrandLightBlue;

QFrame* DecorativeLine(QWidget& parent, const QColor& colour, int thickness) {
    auto* line = new QFrame(&parent);
    line->setFixedHeight(thickness);
    line->setAutoFillBackground(true);
    QPalette palette = line->palette();
    palette.setColor(QPalette::Window, colour);
    line->setPalette(palette);
    return line;
}

QLabel* ScaledLabel(QWidget& parent, double scale, bool bold) {
    auto* label = new QLabel(&parent);
    QFont font = label->font();
    font.setPointSizeF(font.pointSizeF() * scale);
    font.setBold(bold);
    label->setFont(font);
    return label;
}

}  // namespace

frmSplash::frmSplash(QWidget* parent) : QWidget(parent, Qt::SplashScreen) {
    setObjectName("frmSplash");
    setFixedSize(TwipsToPixels(kWidthTwips), TwipsToPixels(kHeightTwips));

    auto* border = new QFrame(this);
    border->setFrameStyle(QFrame::Panel | QFrame::Raised);
    border->setLineWidth(2);
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->addWidget(border);

    auto* layout = new QVBoxLayout(border);
    layout->setContentsMargins(18, 16, 18, 14);
    layout->setSpacing(6);

    Line[0] = DecorativeLine(*border, kAccent, 3);
    Line[1] = DecorativeLine(*border, kAccentLight, 1);
    layout->addWidget(Line[0]);
    layout->addWidget(Line[1]);

    auto* top = new QHBoxLayout();
    top->setSpacing(16);
    Image2 = new QLabel(border);
    Image2->setPixmap(ProgramPicture());
    Image2->setFixedSize(kProgramPictureSize, kProgramPictureSize);
    top->addWidget(Image2, 0, Qt::AlignTop);

    auto* texts = new QVBoxLayout();
    texts->setSpacing(4);
    lblProductName = ScaledLabel(*border, 1.6, true);
    lblProductName->setText("Product");
    lblProductName->setWordWrap(true);
    lblVersion = ScaledLabel(*border, 1.1, false);
    lblVersion->setText("Version");
    lblPlatform = ScaledLabel(*border, 1.0, false);
    lblPlatform->setText("Linux");
    texts->addWidget(lblProductName);
    texts->addWidget(lblVersion);
    texts->addWidget(lblPlatform);
    texts->addStretch();
    top->addLayout(texts, 1);
    layout->addLayout(top, 1);

    Line[2] = DecorativeLine(*border, kAccentLight, 1);
    layout->addWidget(Line[2]);

    lblProgInfo = new QLabel(border);
    lblProgInfo->setVisible(false);
    layout->addWidget(lblProgInfo);
    BuildProgressBar(*border);
    layout->addWidget(progressTrack_);

    Line[3] = DecorativeLine(*border, kAccent, 3);
    layout->addWidget(Line[3]);

    for (int i = 0; i < static_cast<int>(Line.size()); ++i)
        Line[i]->setObjectName(QString("Line%1").arg(i + 1));
    lblProgInfo->setObjectName("lblProgInfo");
    lblProgress->setObjectName("lblProgress");
    lblVersion->setObjectName("lblVersion");
    lblProductName->setObjectName("lblProductName");
    lblPlatform->setObjectName("lblPlatform");
    Image2->setObjectName("Image2");
}

void frmSplash::BuildProgressBar(QWidget& parent) {
    progressTrack_ = new QFrame(&parent);
    progressTrack_->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    progressTrack_->setLineWidth(1);
    progressTrack_->setFixedHeight(kBarHeight);
    lblProgress = new QLabel(progressTrack_);
    lblProgress->setAutoFillBackground(true);
    QPalette palette = lblProgress->palette();
    palette.setColor(QPalette::Window, kAccent);
    lblProgress->setPalette(palette);
    lblProgress->setVisible(false);
    progressTrack_->installEventFilter(this);
}

void frmSplash::Form_Load() {
    move(TwipsToPixels(kLeftTwips), TwipsToPixels(kTopTwips));
    lblVersion->setText(QString::fromStdString("Version " + ProgramVersion()));
    lblProductName->setText(kAppTitle);
}

void frmSplash::SetProgress(double percent) {
    progress_ = std::clamp(percent, 0.0, 100.0);
    DrawProgress();
}

void frmSplash::DrawProgress() {
    const QRect full = progressTrack_->contentsRect();
    const int width = static_cast<int>(std::lround(full.width() * progress_ / 100.0));
    lblProgress->setGeometry(full.x(), full.y(), width, full.height());
}

bool frmSplash::eventFilter(QObject* watched, QEvent* event) {
    if (watched == progressTrack_ && event->type() == QEvent::Resize) DrawProgress();
    return QWidget::eventFilter(watched, event);
}

}  // namespace kestrum
