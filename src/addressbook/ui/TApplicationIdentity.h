#pragma once

// The program's names as the desktop and the settings see them, set once by main() before any
// window exists.
//
// No display name is set on purpose: the toolkit appends an application's display name to the
// title of every window ("Quillmark - /path/ADD0001.DBF — Quillmark"), and the windows' captions
// are already complete (the main window's is exactly "Quillmark - " + the open file).

namespace qm::addressbook {

class TApplicationIdentity {
public:
    static void Apply();
};

} // namespace qm::addressbook
