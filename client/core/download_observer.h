#pragma once

// The progress sink of one file transfer. After each chunk written the
// transfer reports (bytes of the chunk, bytes per second of the chunk), and
// once at its end (0, 0). Returning false asks the transfer to stop.
class DownloadObserver {
public:
    virtual bool OnProgress(int bytes, int speed) {
        (void)bytes;
        (void)speed;
        return true;
    }
    virtual ~DownloadObserver() = default;
};
