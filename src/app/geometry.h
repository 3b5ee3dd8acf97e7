// Where the main window opens and what of it is stored. Window-free.
#pragma once

namespace quarnel {

struct ClientSize {
    int width;
    int height;
    bool operator==(const ClientSize&) const = default;
};

// The stored client size kept between what the window's controls need and what the
// monitor can show; where the two collide the controls win.
ClientSize ClampClientSize(ClientSize stored, ClientSize needed, ClientSize largest);

} // namespace quarnel
