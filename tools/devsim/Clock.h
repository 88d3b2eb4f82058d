// Milliseconds since the simulator started, on the monotonic clock.
#pragma once

class Clock {
public:
    static long NowMs();
};
