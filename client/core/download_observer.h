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

    // The server ignored a resume request and sends the whole file: the
    // transfer now writes from byte 0, so bytes counted before this transfer
    // no longer hold. Called before the first chunk.
    virtual void OnRestartFromZero() {}
};
