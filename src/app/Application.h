#pragma once

class QApplication;

// The application object's settings: the title "Kestrava", the window icon, the style and the
// font names of the window design mapped to the fonts of this system.
void SetUpApplication(QApplication& application);
