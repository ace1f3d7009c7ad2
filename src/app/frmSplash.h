#pragma once
// The splash window shown while the main window searches for chips: the program's name,
// version and platform, and the search's progress. A top-level window of its own.

#include <QFrame>
#include <QLabel>
#include <QWidget>
#include <array>

namespace kestrum {

class frmSplash : public QWidget {
    Q_OBJECT
public:
    explicit frmSplash(QWidget* parent = nullptr);

    // Places the window and fills its labels.
    void Form_Load();

    // The bar's fill in percent of the full bar, 0..100. Kept as a number of its own
    // rather than as a pixel width, so that a small bar still fills in the same steps.
    double Progress() const { return progress_; }
    void SetProgress(double percent);

    QLabel* lblProgInfo = nullptr;
    QLabel* lblProgress = nullptr;  // the bar's fill; the track around it is the full bar
    QLabel* lblVersion = nullptr;
    QLabel* lblProductName = nullptr;
    QLabel* lblPlatform = nullptr;
    QLabel* Image2 = nullptr;
    std::array<QFrame*, 4> Line{};

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BuildProgressBar(QWidget& parent);
    // Sizes the fill from the progress, also when the track itself is resized.
    void DrawProgress();

    QFrame* progressTrack_ = nullptr;
    double progress_ = 0.0;
};

}  // namespace kestrum
