#pragma once

class ItineraryFields;

// A receipt with every remembered field filled: four segments and five
// cities, the amounts, the numbers, the agent codes and the inputs of both
// conversions, as an agent leaves the window at the end of a long booking.
// The international switch stays off, so that the fuel surcharge keeps its
// text. Ends the program if a rule leaves any remembered text field empty,
// since every figure taken on it would then be one of a smaller receipt.
void fillWholeReceipt(ItineraryFields &fields);
