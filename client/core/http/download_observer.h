#pragma once

// The progress sink of one file transfer (HttpDownloadFile).
class DownloadObserver {
public:
    // One step: after each chunk written, (bytes of the chunk, bytes per
    // second of that chunk); once at the end of every transfer that opened
    // its file, (0, 0). Returning false asks the transfer to stop.
    virtual bool OnProgress(int bytes, int speed) {
        (void)bytes;
        (void)speed;
        return true;
    }
    virtual ~DownloadObserver() {}

    // The transfer writes from byte 0 instead of the offset it was given
    // (the server ignored the resume request, the file holds fewer bytes
    // than the offset, or the served file is now shorter than the offset),
    // so bytes counted before it no longer hold. Called before the first
    // chunk.
    virtual void OnRestartFromZero() {}
};
