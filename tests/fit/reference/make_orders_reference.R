# R's lm, anova, AIC, BIC and hatvalues on the data sets of the order table and the linearity
# tests; AICc from AIC, PRESS from the hat values, the condition number by kappa(exact = TRUE)
# of the weighted design in u = (t - c)/h with the program's rule for c and h (h the power of
# two at or above half the range, c the range's middle rounded to h/1024). Orthogonal
# polynomials keep R's own fits accurate at every order, for years too.
# Run once: Rscript make_orders_reference.R > orders_reference.json
fmt <- function(x) {
  if (is.null(x) || length(x) == 0 || is.na(x)) return("null")
  if (is.infinite(x)) return(if (x < 0) "\"-inf\"" else "\"inf\"")
  sprintf("%.17g", x)
}
vec <- function(x) paste0("[", paste(vapply(x, fmt, ""), collapse = ", "), "]")

centre_half <- function(t) {
  hr <- (max(t) - min(t)) / 2
  h <- 2^ceiling(log2(hr))
  q <- h / 1024
  list(c = round((min(t) / 2 + max(t) / 2) / q) * q, h = h)
}

fit_order <- function(t, v, w, k) {
  if (k == 0) lm(v ~ 1, weights = w) else lm(v ~ poly(t, k), weights = w)
}

row <- function(t, v, w, k) {
  m <- fit_order(t, v, w, k)
  below <- fit_order(t, v, w, k - 1)
  n <- length(v)
  sse <- sum(w * residuals(m)^2)
  a <- anova(below, m)
  kk <- k + 2
  aicc <- if (n - kk - 1 > 0) AIC(m) + 2 * kk * (kk + 1) / (n - kk - 1) else NA
  press <- sum(w * (residuals(m) / (1 - hatvalues(m)))^2)
  s <- summary(m)
  ch <- centre_half(t)
  u <- (t - ch$c) / ch$h
  design <- sqrt(w) * outer(u, 0:k, "^")
  r2 <- if (var(v) > 0) s$r.squared else NA
  ar2 <- if (var(v) > 0) s$adj.r.squared else NA
  f <- if (sse > 0) a$F[2] else NA
  fp <- if (sse > 0) a$`Pr(>F)`[2] else NA
  paste0("{\"order\": ", k, ", \"dof\": ", n - k - 1, ", \"sse\": ", fmt(sse),
         ", \"residual_sd\": ", fmt(s$sigma), ", \"r_squared\": ", fmt(r2),
         ", \"adj_r_squared\": ", fmt(ar2), ", \"aic\": ", fmt(AIC(m)),
         ", \"aicc\": ", fmt(aicc), ", \"bic\": ", fmt(BIC(m)), ", \"f\": ", fmt(f),
         ", \"f_p\": ", fmt(fp), ", \"press\": ", fmt(press),
         ", \"press_rmse\": ", fmt(sqrt(press / n)),
         ", \"condition\": ", fmt(kappa(design, exact = TRUE)), "}")
}

lack_of_fit <- function(t, v, w, k) {
  a <- anova(fit_order(t, v, w, k), lm(v ~ factor(t), weights = w))
  paste0("{\"order\": ", k, ", \"pure_error\": ", fmt(a$RSS[2]), ", \"pure_dof\": ", a$Res.Df[2],
         ", \"lack_of_fit\": ", fmt(a$RSS[1] - a$RSS[2]), ", \"lack_dof\": ", a$Df[2],
         ", \"f\": ", fmt(a$F[2]), ", \"p\": ", fmt(a$`Pr(>F)`[2]), "}")
}

mandel <- function(t, v, w) {
  a <- anova(fit_order(t, v, w, 1), fit_order(t, v, w, 2))
  paste0("{\"line_sse\": ", fmt(a$RSS[1]), ", \"quadratic_sse\": ", fmt(a$RSS[2]),
         ", \"dof\": ", a$Res.Df[2], ", \"f\": ", fmt(a$F[2]), ", \"p\": ", fmt(a$`Pr(>F)`[2]), "}")
}

set <- function(name, t, v, w = NULL, lof = integer(0)) {
  weights <- if (is.null(w)) rep(1, length(t)) else w
  highest <- min(10, length(unique(t)) - 1, length(t) - 2)
  rows <- vapply(1:highest, function(k) row(t, v, weights, k), "")
  lofs <- vapply(lof, function(k) lack_of_fit(t, v, weights, k), "")
  paste0("{\"name\": \"", name, "\", \"t\": ", vec(t), ", \"v\": ", vec(v),
         ", \"w\": ", if (is.null(w)) "[]" else vec(w), ", \"highest\": ", highest,
         ", \"rows\": [\n  ", paste(rows, collapse = ",\n  "), "]",
         ", \"lack_of_fit\": [", paste(lofs, collapse = ", "), "]",
         ", \"mandel\": ", mandel(t, v, weights), "}")
}

# A calibration with three readings at each of seven levels.
x <- rep(c(0.5, 1, 2, 4, 6, 8, 10), each = 3)
k <- seq_along(x) - 1
y <- signif(0.05 + 1.8 * x - 0.012 * x^2 + 0.02 * (0.05 + 1.8 * x) * sin(1.3 * k + 0.4), 6)
# Log-log: the fitted scale's values, log10 of a power law with 3 % scatter.
lx <- c(1, 2, 5, 10, 20, 50, 100, 200, 500, 1000, 2000, 5000)
ly <- signif(3.1 * lx^0.8 * (1 + 0.03 * sin(1.7 * seq_along(lx))), 6)
# Annual data, far from zero.
year <- 2000:2025
yv <- signif(100 + 3 * (year - 2000) + 0.05 * (year - 2000)^2 - 0.001 * (year - 2000)^3 +
             2 * sin(1.3 * seq_along(year)), 7)
# A quadratic with relative noise 1e-9.
tx <- 1:20
ty <- (5 + 2 * tx + 0.3 * tx^2) * (1 + 1e-9 * sin(2.3 * tx))
# Three distinct X, two readings each.
fx <- rep(c(1, 2, 3), each = 2)
fy <- c(1.0, 1.2, 2.1, 1.9, 3.2, 2.9)

cat("{\"sets\": [\n")
cat(paste(c(
  set("calibration", x, y, lof = c(1, 2)),
  set("calibration 1/x2", x, y, 1 / x^2, lof = c(1, 2)),
  set("loglog", log10(lx), log10(ly)),
  set("years", year, yv),
  set("tight", tx, ty),
  set("few distinct", fx, fy, lof = c(1))
), collapse = ",\n"))
cat("\n]}\n")
