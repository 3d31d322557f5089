# R's influence measures of lm (hatvalues, rstandard, rstudent, cooks.distance, dffits), the
# Durbin-Watson statistic by its formula (residuals ordered by the input, ties in pair order) and
# the flags (|rstudent| above the two-sided Bonferroni t quantile at 0.05/n with n - p - 1 degrees
# of freedom; Cook's distance above 4/n), in the fitted scale of each model.
# Run once: Rscript make_influence_reference.R > influence_reference.json
# The fits use poly() (orthogonal columns) so that years far from zero cost R no digits; the
# tight set fits y minus its exact curve, which has the same residuals and so the same measures,
# without R's rounding of y swamping residuals of 1e-9 relative.
num <- function(v) {
  ifelse(is.finite(v), formatC(v, digits = 17, format = "g"), "null")
}
arr <- function(v) paste0("[", paste(num(v), collapse = ", "), "]")
idx <- function(b) paste0("[", paste(which(b), collapse = ", "), "]")

influence_case <- function(name, model, order, weights, x, y, w = NULL, shift = NULL) {
  input <- switch(model, poly = x, loglog = log10(x), semilogy = x, semilogx = y)
  output <- switch(model, poly = y, loglog = log10(y), semilogy = log(y), semilogx = log(x))
  target <- if (is.null(shift)) output else output - shift
  fit <- if (is.null(w)) lm(target ~ poly(input, order, raw = FALSE))
         else lm(target ~ poly(input, order, raw = FALSE), weights = w)
  n <- length(x)
  p <- order + 1
  h <- hatvalues(fit)
  rs <- rstandard(fit)
  rt <- rstudent(fit)
  # Without a degree of freedom left after a deletion R divides 0 by 0 and keeps the rounding's
  # sign; the measure does not exist.
  if (n - p - 1 < 1) rt[] <- NA
  cd <- cooks.distance(fit)
  df <- if (n - p - 1 < 1) rt else dffits(fit)
  e <- weighted.residuals(fit)
  e <- e[order(input)]
  dw <- sum(diff(e)^2) / sum(e^2)
  cut <- if (n - p - 1 > 0) qt(1 - 0.05 / (2 * n), n - p - 1) else NA
  outl <- if (is.na(cut)) rep(FALSE, n) else (is.finite(rt) & abs(rt) > cut)
  infl <- is.finite(cd) & cd > 4 / n
  paste0("  {\"name\": \"", name, "\", \"model\": \"", model, "\", \"order\": ", order,
         ", \"weights\": \"", weights, "\",\n   \"x\": ", arr(x), ",\n   \"y\": ", arr(y),
         ",\n   \"leverage\": ", arr(h), ",\n   \"standardized\": ", arr(rs),
         ",\n   \"studentized\": ", arr(rt), ",\n   \"cooks\": ", arr(cd),
         ",\n   \"dffits\": ", arr(df), ",\n   \"durbin_watson\": ", num(dw),
         ",\n   \"t_cutoff\": ", num(cut), ", \"outliers\": ", idx(outl),
         ", \"influential\": ", idx(infl), "}")
}

levels <- c(1, 2, 5, 10, 20, 50, 100)
cx <- rep(levels, each = 3)
k <- seq_along(cx) - 1
cy <- signif(0.3 + 2.1 * cx + 0.04 * sin(2.1 * k + 0.4), 8)
cy[11] <- cy[11] + 1.5 # a planted outlier at X = 10
wy <- signif(0.3 + 2.1 * cx + 0.02 * (0.3 + 2.1 * cx) * sin(2.1 * k + 0.4), 8)
wy[5] <- wy[5] * 1.25 # a planted outlier at X = 2

lx <- c(0.5, 1, 2, 5, 10, 20, 50, 100, 200, 500)
ly <- signif(3 * lx^0.8 * (1 + 0.01 * lx^0.1) * (1 + 0.02 * sin(1.7 * seq_along(lx))), 9)

ex <- seq(1, 12)
ey <- signif(2 * exp(0.3 * ex) * (1 + 0.03 * cos(2.3 * ex)), 9)

years <- 2000:2025
yy <- signif(100 + 3 * (years - 2000) + 0.05 * (years - 2000)^2 - 0.002 * (years - 2000)^3 +
             0.4 * sin(1.9 * seq_along(years)), 10)

tx <- 1:15
exact <- 1 + 2 * tx + 0.5 * tx^2
ty <- exact * (1 + 1e-9 * sin(3.1 * tx))

hx <- c(1, 1, 1, 1, 6)
hy <- c(2.0, 2.25, 1.875, 2.125, 7.5)

nx <- c(1, 2, 4)
ny <- c(1.5, 2.75, 4.0625)

cat("{\n \"alpha\": 0.05,\n \"cases\": [\n")
cases <- c(
  influence_case("calibration outlier", "poly", 1, "none", cx, cy),
  influence_case("calibration outlier 1/x2", "poly", 1, "1/x2", cx, wy, w = 1 / cx^2),
  influence_case("log-log", "loglog", 2, "none", lx, ly),
  influence_case("exponential", "semilogy", 1, "none", ex, ey),
  influence_case("exponential in Y", "semilogx", 1, "none", ey, ex),
  influence_case("annual", "poly", 3, "none", years, yy),
  influence_case("tight", "poly", 2, "none", tx, ty, shift = exact),
  influence_case("leverage one", "poly", 1, "none", hx, hy),
  influence_case("one degree of freedom", "poly", 1, "none", nx, ny))
cat(paste(cases, collapse = ",\n"))
cat("\n ]\n}\n")
