#pragma once

#include <memory>

#include "shell/hall_sender.h"

// Sends through the browser's fetch: Send starts the request and returns at
// once, and Take looks whether the answer has come, so no frame ever waits
// for the hall.
std::unique_ptr<HallSender> CreateWebHallSender();
