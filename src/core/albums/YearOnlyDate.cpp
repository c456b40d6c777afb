#include "albums/YearOnlyDate.h"

#include "text/DayNumber.h"

namespace srk {

qint64 yearOnlyDate(qint64 releaseDate) {
    if (releaseDate <= 0 || isBareYear(releaseDate))
        return releaseDate;
    const int year = releaseYear(releaseDate);
    return year > 0 ? year : releaseDate;
}

}  // namespace srk
