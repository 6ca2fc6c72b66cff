#pragma once

#include <memory>

#include "shell/hall_sender.h"

// Sends over HTTP or HTTPS (certificates checked) on a thread of its own.
std::unique_ptr<HallSender> CreateHttpHallSender();
