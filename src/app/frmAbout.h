#pragma once
// The About window: the program's name and version, and a link to the maker's web page.

#include <QGroupBox>
#include <QLabel>
#include <QPushButton>

#include "widgets/WindowManager.h"

namespace kestrum {

inline constexpr const char* kMakerWebAddress = "http://www.tarnwell.example/";

class frmAbout : public ChildWindow {
    Q_OBJECT
public:
    explicit frmAbout(QWidget* parent = nullptr);

    void Form_Load() override;
    void Label6_Click();
    void cmdOK_Click();

    QGroupBox* Frame1 = nullptr;
    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* Label5 = nullptr;
    QLabel* Label6 = nullptr;
    QPushButton* cmdOK = nullptr;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void SetLinkColour(const QColor& colour);
};

}  // namespace kestrum
