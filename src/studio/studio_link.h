// linkStudio: the connections between the worker, on a thread of its own, and the window: frames
// and what the camera says one way, requests the other.
#pragma once

namespace orvane {

class StudioWindow;
class StudioWorker;

void linkStudio(StudioWorker& worker, StudioWindow& window);

} // namespace orvane
