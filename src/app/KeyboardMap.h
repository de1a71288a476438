#pragma once

#include <Qt>

// The main window's keyboard map. A Ctrl row matches only when the modifier state is exactly
// Ctrl and no mouse button is held; F1 matches with any modifiers. The rows are tested in the
// order O, R, L, I, P, U, T, S, F1, N, B, and one key press matches at most one row.
enum class KeyCommand {
    None,
    OpenFile,            // Ctrl+O   btnOpenFile
    RemoveFile,          // Ctrl+R   btnRemoveFile
    ClearFile,           // Ctrl+L   btnClearFile
    Options,             // Ctrl+I   btnOptions
    Play,                // Ctrl+P   btnPlay
    Pause,               // Ctrl+U   btnPause
    Stop,                // Ctrl+T   btnStop
    Convert,             // Ctrl+S and Ctrl+N   btnConvert
    Help,                // F1       OpenHelp
    SelectOutputFolder,  // Ctrl+B   btnSelectOutputFolderClick
};

KeyCommand MatchKey(int key, Qt::KeyboardModifiers modifiers, Qt::MouseButtons buttons);
