#pragma once
// Star ratings of catalogue software: uploads a user's rating, fetches the
// current score, and tells the rows that show that software.
#include <stdint.h>
#include <map>
#include <string>
#include <vector>

class SoftScoreMgr {
public:
    class Observer {
    public:
        virtual void OnScore(int32_t soft_id, int32_t score) = 0;

    protected:
        ~Observer() = default;
    };

    // Sends the rating; the answer's content is ignored.
    static bool SetScore(int32_t soft_id, int32_t score);
    // Reads the number of ratings and the score, then notifies the observers
    // of that software.
    static bool GetScore(int32_t* nums, int32_t* score, int32_t soft_id);

    // From any thread; an observer is listed once per software.
    static void AddObserver(int32_t soft_id, Observer* observer);
    // Waits for a notification in progress.
    static void RemoveObserver(int32_t soft_id, Observer* observer);
    // Calls the observers with the registry lock held.
    static void NotifyObservers(int32_t soft_id, int32_t score);

    // The answer of "getscorenum": false unless "error" is "noerror".
    static bool ParseScore(const std::string& body, int32_t* nums, int32_t* score);
};
