#pragma once
// How many processor cores this process may run on: the machine's, less any its affinity
// keeps it from (taskset, a job object). A second thread on a single usable core only
// costs, so work is split only when this is more than one.

namespace drapeline::platform {

unsigned usableCores();

}  // namespace drapeline::platform
