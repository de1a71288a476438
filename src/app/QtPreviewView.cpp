#include "app/QtPreviewView.h"

#include <QLabel>
#include <QTimer>

#include "app/QtText.h"
#include "app/VideoWindow.h"

QtPreviewView::QtPreviewView(QWidget& logo, QLabel& clock, TVideoWindow& video, QTimer& trackBar)
    : logo_(logo), clock_(clock), video_(video), trackBar_(trackBar) {}

void QtPreviewView::ShowLogo(bool shown) {
    if (shown && logo_.isHidden()) video_.ClearFrame();
    logo_.setVisible(shown);
}

void QtPreviewView::SetClockText(const std::string& text) { clock_.setText(ToQt(text)); }

void QtPreviewView::ResetTrackBar() {
    if (trackBar_.isActive()) trackBar_.start();
}
