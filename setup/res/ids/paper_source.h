// Resource ids of the Paper Source page, Inch/Metric Setting and Paper Type dialogs.
#pragma once
