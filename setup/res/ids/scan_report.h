// Resource ids of the Scan Setting and Report Setting pages.
#pragma once
