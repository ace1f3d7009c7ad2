#pragma once
// Feeding the Graphs window: one sample of every live measurement to every trace of all
// seven charts, shown or not, and the legends rewritten with the newest values.

namespace kestrum {

// The master timer's graph task, every gGraphPeriodMs while gGraphFormOpen. Allocates
// nothing once the charts' histories and the legend texts have their storage.
void UpdateLiveGraphs();

}  // namespace kestrum
