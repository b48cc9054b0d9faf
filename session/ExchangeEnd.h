#pragma once
// How a request's exchange with the terminal ended, for the front end that drives it.

namespace session {

enum class ExchangeEnd {
    Complete,     // every expected key came
    Paused,       // some bytes came, then the terminal paused
    Silent,       // nothing came
    LinkLost,     // the port went away
    Interrupted,  // the operator stopped the program
};

}  // namespace session
