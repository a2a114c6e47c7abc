// Resource ids of the Copy Setting(1) and (2) pages.
#pragma once
